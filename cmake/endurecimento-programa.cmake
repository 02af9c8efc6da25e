# cmake -DREADELF=<readelf> -DPROGRAMA=<file> -DFORTIFICADO=<0|1> -P endurecimento-programa.cmake
# Fails naming each protection of cmake/Endurecimento.cmake that the built program lacks: full
# RELRO (the GNU_RELRO segment and immediate binding), the stack canary's failure handler and,
# where the build fortifies, glibc's checked variant of some call.
function(ler_elf opcao saida)
  execute_process(COMMAND ${READELF} -W ${opcao} ${PROGRAMA}
    OUTPUT_VARIABLE texto ERROR_VARIABLE erro RESULT_VARIABLE codigo)
  if(NOT codigo EQUAL 0)
    message(FATAL_ERROR "${READELF} ${opcao} ${PROGRAMA} failed: ${erro}")
  endif()
  set(${saida} "${texto}" PARENT_SCOPE)
endfunction()

ler_elf(--program-headers cabecalhos)
ler_elf(--dynamic dinamica)
ler_elf(--dyn-syms simbolos)

set(faltas "")
if(NOT cabecalhos MATCHES "GNU_RELRO")
  list(APPEND faltas "no GNU_RELRO program header (link with -z relro)")
endif()
# ld writes BIND_NOW into DT_FLAGS and NOW into DT_FLAGS_1; either makes the loader bind at start.
if(NOT dinamica MATCHES "\\(FLAGS\\)[^\n]*BIND_NOW" AND NOT dinamica MATCHES "\\(FLAGS_1\\)[^\n]* NOW")
  list(APPEND faltas "no BIND_NOW or FLAGS_1 NOW in the dynamic section (link with -z now)")
endif()
# Imported symbols are the undefined ones (UND) of the dynamic symbol table.
if(NOT simbolos MATCHES " UND __stack_chk_fail")
  list(APPEND faltas "__stack_chk_fail not imported (compile with -fstack-protector-strong)")
endif()
if(FORTIFICADO)
  string(REGEX MATCHALL " UND __[a-z0-9_]+_chk" fortificadas "${simbolos}")
  list(FILTER fortificadas EXCLUDE REGEX "__stack_chk")
  if(NOT fortificadas)
    list(APPEND faltas
      "no fortified __*_chk function imported (compile with -O1 or more and -D_FORTIFY_SOURCE=2)")
  endif()
endif()

if(faltas)
  list(JOIN faltas "; " texto)
  message(FATAL_ERROR "${PROGRAMA} is not hardened: ${texto}")
endif()
if(FORTIFICADO)
  list(TRANSFORM fortificadas REPLACE " UND " "")
  list(REMOVE_DUPLICATES fortificadas)
  list(JOIN fortificadas " " texto)
  message(STATUS "${PROGRAMA}: full RELRO, stack protector, fortified calls (${texto})")
else()
  message(STATUS "${PROGRAMA}: full RELRO, stack protector (fortified calls not looked for)")
endif()
