# cmake -DOBJDUMP=<objdump> -DPROGRAMA=<file.exe> -P dlls-do-sistema.cmake
# Fails unless every DLL the Windows program imports is one that every Windows has: the program
# is copied alone onto each workstation, so a MinGW runtime DLL (libstdc++, libgcc, winpthread)
# would be missing there.
cmake_policy(SET CMP0057 NEW)
set(PERMITIDAS
  kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comctl32 comdlg32 crypt32 winhttp
  ws2_32 shlwapi uxtheme version msvcrt ucrtbase)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAMA}
  OUTPUT_VARIABLE saida ERROR_VARIABLE erros RESULT_VARIABLE codigo)
if(NOT codigo EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAMA} failed (${codigo}): ${erros}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" linhas "${saida}")
if(NOT linhas)
  message(FATAL_ERROR "${PROGRAMA}: no imported DLL found in the output of ${OBJDUMP} -p")
endif()
set(estranhas "")
set(todas "")
foreach(linha IN LISTS linhas)
  string(REGEX REPLACE "DLL Name: *" "" dll "${linha}")
  string(STRIP "${dll}" dll)
  list(APPEND todas "${dll}")
  string(TOLOWER "${dll}" minuscula)
  string(REGEX REPLACE "\\.dll$" "" base "${minuscula}")
  # The Universal CRT's API sets (api-ms-win-crt-*.dll) come with every Windows 10 and later.
  if(NOT base IN_LIST PERMITIDAS AND NOT base MATCHES "^api-ms-win-")
    list(APPEND estranhas "${dll}")
  endif()
endforeach()
if(estranhas)
  message(FATAL_ERROR "${PROGRAMA} imports DLLs that not every Windows has: ${estranhas}")
endif()
message(STATUS "${PROGRAMA} imports only system DLLs: ${todas}")
