# LeakSanitizer (linux-asan) skips what lsan.supp names: libraries, not our code.
target_compile_definitions(kw_platform_tests PRIVATE KW_LSAN_SUPPRESSIONS="${CMAKE_CURRENT_LIST_DIR}/lsan.supp")
