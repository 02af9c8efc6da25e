# tolvane_programa_windows(<target> [MANIFESTO]): a program that is copied alone onto the
# workstations. After each build it must import only DLLs that Windows takes from its system
# folder (dlls-do-sistema.cmake; MANIFESTO when the program's manifest binds comctl32 6) and be at
# most 3 MB (the self-update copies it from the file server to every workstation), or the build
# fails. It is also marked for Windows 7 SP1 (6.1) as the oldest system it runs on, so that an
# older one refuses it at once instead of failing on a missing function.
function(tolvane_programa_windows alvo)
  cmake_parse_arguments(P "MANIFESTO" "" "" ${ARGN})
  target_link_options(${alvo} PRIVATE
    -Wl,--major-os-version,6,--minor-os-version,1
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
  if(P_MANIFESTO)
    set(manifesto -DMANIFESTO=ON)
  endif()
  add_custom_command(TARGET ${alvo} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAMA=$<TARGET_FILE:${alvo}>
      ${manifesto} -P ${PROJECT_SOURCE_DIR}/cmake/dlls-do-sistema.cmake
    COMMAND ${CMAKE_COMMAND} -DPROGRAMA=$<TARGET_FILE:${alvo}> -DLIMITE=3145728
      -P ${PROJECT_SOURCE_DIR}/cmake/tamanho-programa.cmake
    VERBATIM)
endfunction()
