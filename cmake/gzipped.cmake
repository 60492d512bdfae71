# corvanta_gzipped(TARGET FILE...): FILE.gz beside each FILE of the current binary folder (a
# configured manual page or changelog, compressed as Debian wants them), made with TARGET.
function(corvanta_gzipped target)
    set(outputs)
    foreach(file ${ARGN})
        add_custom_command(OUTPUT ${file}.gz
            COMMAND gzip -9n --stdout ${file} > ${file}.gz
            DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${file} VERBATIM)
        list(APPEND outputs ${file}.gz)
    endforeach()
    add_custom_target(${target}_gzipped DEPENDS ${outputs})
    add_dependencies(${target} ${target}_gzipped)
endfunction()
