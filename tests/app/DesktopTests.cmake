# Read by CTest after the desktop tests are discovered (see CMakeLists.txt): their labels, limits and the
# private runtime and configuration folders.
if(DESKTOP_TESTS)
  set_tests_properties(${DESKTOP_TESTS} PROPERTIES LABELS desktop TIMEOUT 120
                       ENVIRONMENT "${SCRIVANO_DESKTOP_TEST_ENVIRONMENT}")
endif()
if(WRITER_TESTS)
  set_tests_properties(${WRITER_TESTS} PROPERTIES LABELS "desktop;office" TIMEOUT 480
                       ENVIRONMENT "${SCRIVANO_DESKTOP_TEST_ENVIRONMENT}")
endif()
