# The FLTK backend's probe and its own cases, added to the platform tests.
list(APPEND KW_PLATFORM_TEST_SOURCES
  fltk/fltk_probe.cpp
  fltk/fltk_window_test.cpp
)
# X11 for reading and queueing real X events; dlsym to wrap glXSwapBuffers.
list(APPEND KW_PLATFORM_TEST_LIBRARIES X11 ${CMAKE_DL_LIBS})
# Leak checking (linux-asan) skips what lsan.supp names: libraries, not our code.
# The probe hands the file to LeakSanitizer itself, so the program needs no
# LSAN_OPTIONS whether ctest or a developer starts it.
set_source_files_properties(fltk/fltk_probe.cpp PROPERTIES
  COMPILE_DEFINITIONS "KW_LSAN_SUPPRESSIONS=\"${CMAKE_CURRENT_LIST_DIR}/lsan.supp\"")
