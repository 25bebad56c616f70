# Read by CTest after the desktop tests are discovered: the tests with the real LibreOffice Writer.
if(WRITER_TESTS)
  set_tests_properties(${WRITER_TESTS} PROPERTIES LABELS "desktop;office" TIMEOUT 480
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
