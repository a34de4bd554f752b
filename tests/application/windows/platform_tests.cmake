# The Win32 platform tests: the probe (USER32, GDI32 and WGL, through the
# libraries the framework already links) and the cases only Win32 has.
list(APPEND KW_PLATFORM_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/win32_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_window_test.cpp
)
