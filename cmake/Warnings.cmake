# Warnings are set per target, never globally, so third-party code is not affected.
function(tarvelion_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
