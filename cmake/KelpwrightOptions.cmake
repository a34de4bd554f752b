# Compiler settings shared by every target of the project.

# Floating point is part of the behaviour: no contraction into fused
# multiply-adds, so every build rounds the same operations the same way.
if(MSVC)
  add_compile_options(/fp:precise)
else()
  add_compile_options(-ffp-contract=off)
  # __FILE__ relative to the source tree, so reports read the same in every build.
  add_compile_options("-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=")
endif()

# Exceptions as in the other builds: the error module's throw switch, and the
# standard library's allocation failure, propagate (Emscripten's default
# would abort at the first throw). Programs link with it through the
# framework's target.
if(EMSCRIPTEN)
  add_compile_options(-fexceptions)
endif()

# The window backend compiled into this build.
if(WIN32)
  set(KW_PLATFORM windows)
elseif(EMSCRIPTEN)
  set(KW_PLATFORM web)
else()
  set(KW_PLATFORM fltk)
endif()

# Warnings for the project's own targets.
function(kw_target_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()
