# cmake -DOBJDUMP=<objdump> -DPROGRAMA=<file.exe> [-DMANIFESTO=ON] -P dlls-do-sistema.cmake
# Fails unless every DLL the Windows program imports is one that Windows always takes from its
# own system folder, from Windows 7 SP1 on (the KnownDLLs of every version). The program is
# copied alone beside the ERP's executables, a folder that the updater writes by design: a MinGW
# runtime DLL would be missing there, and any other system DLL imported by name would be taken
# from that folder first, so a planted copy would run inside the program at every start. The
# other system libraries (crypt32, winhttp, shcore) are loaded at run time from the system
# folder. comctl32 is allowed with MANIFEST: the program's manifest binds version 6 from the
# system's side-by-side store, which comes before any folder.
cmake_policy(SET CMP0057 NEW)
set(PERMITIDAS
  kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comdlg32 shlwapi ws2_32 msvcrt imm32
  rpcrt4 psapi setupapi normaliz nsi sechost wldap32 imagehlp)
if(MANIFESTO)
  list(APPEND PERMITIDAS comctl32)
endif()
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
  if(NOT base IN_LIST PERMITIDAS)
    list(APPEND estranhas "${dll}")
  endif()
endforeach()
if(estranhas)
  message(FATAL_ERROR "${PROGRAMA} imports DLLs that Windows would look for beside it first: "
    "${estranhas}; load them at run time from the system folder (platform/biblioteca.h)")
endif()
message(STATUS "${PROGRAMA} imports only DLLs that Windows takes from its system folder: ${todas}")
