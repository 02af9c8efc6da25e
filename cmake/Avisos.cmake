# Warnings for every target of the project. CI builds with TOLVANE_WERROR on (the default).
option(TOLVANE_WERROR "Treat warnings as errors" ON)

function(tolvane_avisos alvo)
  target_compile_options(${alvo} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
  # GCC 12 warns falsely about std::string appends at -O2 (GCC bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${alvo} PRIVATE -Wno-restrict)
  endif()
  if(TOLVANE_WERROR)
    target_compile_options(${alvo} PRIVATE -Werror)
  endif()
endfunction()
