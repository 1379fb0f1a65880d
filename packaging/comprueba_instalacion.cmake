# Installs the build in COMPILACION into PREFIJO and checks the tree a user gets: the program
# with its files in one folder, the link in bin/, a valid desktop entry and the icons.
file(REMOVE_RECURSE ${PREFIJO})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${COMPILACION} --prefix ${PREFIJO}
                RESULT_VARIABLE r OUTPUT_QUIET)
if(NOT r EQUAL 0)
    message(FATAL_ERROR "cmake --install terminó con ${r}")
endif()
set(faltan)
foreach(f lib/lozar/lozar lib/lozar/Kvacnt.tbq lib/lozar/kvtab1A.tbq lib/lozar/kvtab1B.tbq
          lib/lozar/kvtab2.tbq lib/lozar/CARATULA.JPG lib/lozar/lozar.png bin/lozar
          lib/lozar/ayuda/guia.html lib/lozar/ayuda/modelo.png
          lib/lozar/ejemplos/1-diametro-de-eje.lzr lib/lozar/ejemplos/mediciones-de-diametro.csv
          share/applications/lozar.desktop share/icons/hicolor/scalable/apps/lozar.svg
          share/icons/hicolor/48x48/apps/lozar.png share/icons/hicolor/256x256/apps/lozar.png)
    if(NOT EXISTS ${PREFIJO}/${f})
        list(APPEND faltan ${f})
    endif()
endforeach()
if(faltan)
    message(FATAL_ERROR "faltan en la instalación: ${faltan}")
endif()
# The link leads to the program, wherever the tree is moved.
file(READ_SYMLINK ${PREFIJO}/bin/lozar destino)
if(NOT destino STREQUAL "../lib/lozar/lozar")
    message(FATAL_ERROR "bin/lozar apunta a '${destino}'")
endif()
foreach(lado 48 256)
    file(READ ${PREFIJO}/share/icons/hicolor/${lado}x${lado}/apps/lozar.png cabecera
         LIMIT 24 HEX)
    string(SUBSTRING ${cabecera} 32 16 medidas)
    math(EXPR hex "${lado}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex ${hex})
    string(LENGTH ${hex} n)
    while(n LESS 8)
        string(PREPEND hex 0)
        math(EXPR n "${n} + 1")
    endwhile()
    if(NOT medidas STREQUAL "${hex}${hex}")
        message(FATAL_ERROR "el icono de ${lado} píxeles mide ${medidas}")
    endif()
endforeach()
find_program(VALIDAR desktop-file-validate REQUIRED)
execute_process(COMMAND ${VALIDAR} ${PREFIJO}/share/applications/lozar.desktop
                RESULT_VARIABLE r OUTPUT_VARIABLE salida ERROR_VARIABLE salida)
if(NOT r EQUAL 0 OR NOT salida STREQUAL "")
    message(FATAL_ERROR "lozar.desktop no es válido: ${salida}")
endif()
file(REMOVE_RECURSE ${PREFIJO})
