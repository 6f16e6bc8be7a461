# Every target of the project gets the same warnings; the dev preset makes
# them errors.
function(mivlo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(MIVLO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
