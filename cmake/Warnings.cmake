# One place for the warning and sanitizer policy of every target.
function(tremo_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# Windows programs are linked statically so they need no MinGW DLLs beside them.
function(tremo_windows_program target)
  tremo_target_defaults(${target})
  target_link_options(${target} PRIVATE -static -municode)
endfunction()
