# Installs the build into a scratch prefix and checks that the desktop finds everything it needs.
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
    RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cmake --install failed")
endif()

foreach(file
        bin/corvanta
        share/applications/corvanta.desktop
        share/metainfo/corvanta.metainfo.xml
        share/icons/hicolor/scalable/apps/corvanta.svg
        share/icons/hicolor/32x32/apps/corvanta.png
        share/icons/hicolor/128x128/apps/corvanta.png)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

file(READ ${prefix}/share/applications/corvanta.desktop desktop)
foreach(line "Exec=corvanta" "Icon=corvanta" "Type=Application")
    string(FIND "${desktop}" "${line}\n" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "corvanta.desktop lacks ${line}")
    endif()
endforeach()
file(REMOVE_RECURSE ${prefix})
