# Regenerates the tables into SALIDA with GENERADOR and compares them byte for byte with the
# shipped ones in DATOS.
file(REMOVE_RECURSE ${SALIDA})
file(MAKE_DIRECTORY ${SALIDA})
execute_process(COMMAND ${GENERADOR} ${SALIDA} RESULT_VARIABLE resultado)
if(NOT resultado EQUAL 0)
    message(FATAL_ERROR "lozar_tablas termino con ${resultado}")
endif()
set(distintos)
foreach(archivo Kvacnt.tbq kvtab1A.tbq kvtab1B.tbq kvtab2.tbq)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SALIDA}/${archivo}
                            ${DATOS}/${archivo} RESULT_VARIABLE diferencia)
    if(NOT diferencia EQUAL 0)
        list(APPEND distintos ${archivo})
    endif()
endforeach()
if(distintos)
    message(FATAL_ERROR "difieren de lo que escribe el generador: ${distintos} "
                        "(regenerar con: lozar_tablas data)")
endif()
