# cmake -DPROGRAMA=<file.exe> -DLIMITE=<bytes> -P tamanho-programa.cmake
# Fails when the program is larger than the limit: the self-update copies it from the file
# server to every workstation at each new version.
file(SIZE ${PROGRAMA} tamanho)
if(tamanho GREATER LIMITE)
  message(FATAL_ERROR "${PROGRAMA} has ${tamanho} bytes, more than ${LIMITE}")
endif()
message(STATUS "${PROGRAMA}: ${tamanho} bytes (limit ${LIMITE})")
