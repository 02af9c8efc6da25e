# Hardening of the Linux build, for every target of the project; tolvane_verificar_endurecimento
# adds the test that checks it on a built program. PIE needs nothing here: Debian's GCC makes
# position-independent executables by default (--enable-default-pie). The Windows cross-build
# takes none of this.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# Every build type: a stack canary in each function with a local array or a local whose address
# is taken, and the relocations resolved at start and then made read-only (full RELRO), so that a
# stray write cannot redirect a call through the GOT. Neither gets in the way of a debugger or
# the sanitizers.
add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro,-z,now)

# glibc's checked variants of memcpy, snprintf, read and the like (__memcpy_chk ...) need the
# optimiser's object sizes: at -O0 glibc's headers only warn, which -Werror makes an error, so
# the optimised build types only. Not under a sanitizer either: they intercept memcpy and the
# rest but few of the __*_chk variants, and a fortified call would go past their checks. -U first:
# a definition that the compiler or CMAKE_<LANG>_FLAGS brings is replaced without a
# redefinition warning.
if(CMAKE_C_FLAGS MATCHES "-fsanitize=" OR CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
  set(TOLVANE_FORTIFICADO 0)
else()
  set(TOLVANE_FORTIFICADO "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
endif()
add_compile_options("$<${TOLVANE_FORTIFICADO}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")

# tolvane_verificar_endurecimento(<target> [FORTIFICADO]): a test that reads the built program
# with readelf and fails naming what it lacks (cmake/endurecimento-programa.cmake). FORTIFICADO:
# the program has calls whose buffer size the compiler sees, so where the build fortifies it
# must import some __*_chk function.
function(tolvane_verificar_endurecimento alvo)
  cmake_parse_arguments(E "FORTIFICADO" "" "" ${ARGN})
  set(fortificado 0)
  if(E_FORTIFICADO)
    set(fortificado ${TOLVANE_FORTIFICADO})
  endif()
  add_test(NAME endurecimento_${alvo}
    COMMAND ${CMAKE_COMMAND} -DREADELF=${CMAKE_READELF} -DPROGRAMA=$<TARGET_FILE:${alvo}>
      -DFORTIFICADO=${fortificado} -P ${PROJECT_SOURCE_DIR}/cmake/endurecimento-programa.cmake)
endfunction()
