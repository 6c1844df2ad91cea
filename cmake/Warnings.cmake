# Every target of ours compiles with the same strict warnings.
function(tuho_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
