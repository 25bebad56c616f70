# cmake --install: the programs in bin, the companion in libexec/scrivano, the desktop entry, the icons in
# several sizes, and the manual and the office macro in share/scrivano. The programs find each of these from
# their own file (settings/ProgramPaths.cpp), so the layout here and the one compiled in must agree: both
# come from GNUInstallDirs.
set(SCRIVANO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/scrivano)

install(TARGETS scrivano-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET scrivano)
  install(TARGETS scrivano RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/scrivano.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/scrivano.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
  install(DIRECTORY data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES "data/manual/Operational Manual.html" "data/manual/Operational Manual.zh_CN.html"
                "data/manual/Operational Manual.zh_TW.html" DESTINATION ${SCRIVANO_SHARE_DIR}/Guide)
  install(FILES data/office/NextPiece.bas DESTINATION ${SCRIVANO_SHARE_DIR}/office)
endif()
if(TARGET vexo1)
  install(TARGETS vexo1 RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/scrivano)
endif()
# The folder that marks an install even when nothing else is shipped there (a build without the desktop).
install(DIRECTORY DESTINATION ${SCRIVANO_SHARE_DIR})

# A Debian package (scripts/package): the shared libraries' packages from dpkg-shlibdeps (Qt 6 widgets and
# WebEngine, libzip, libuchardet, ...); LibreOffice Writer and the other helpers are recommended only, as
# Scrivano starts and works without them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrivano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Translator's workbench for English and Chinese text")
set(CPACK_PACKAGE_DESCRIPTION
    "Input and Output text windows and a Function List of nineteen numbered functions: aligning source and
target, segment markup, tag cleaning, splitting mixed English/Chinese text, line operations, .docx processing,
web page text and automatic translation; scrivano-cli runs the same functions on files and pipes.")
set(CPACK_PACKAGE_CONTACT "Scrivano developers <scrivano@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer, poppler-utils, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-docx")
include(CPack)
