# Installs the build into a fresh temporary prefix and checks what a user's system receives: the
# two programs, their data where the program looks for it, the launcher with its icons, and the
# manual page. The launcher is validated when desktop-file-validate is present, and the
# installed catalogue tool is run from a folder of its own.
#
# cmake -DBUILD_DIR=<build tree> -DPREFIX=<temporary prefix> -P check_install.cmake

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(expected
    bin/quillery
    bin/quillery-data
    share/applications/quillery.desktop
    share/man/man1/quillery-data.1
    share/quillery/help/quillery_help.txt
    share/quillery/example/awards.csv
    share/quillery/pictures/book.ico
    share/quillery/pictures/BOOK3.BMP)
foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/quillery.png)
endforeach()
foreach(path ${expected})
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
if(EXISTS ${PREFIX}/share/quillery/pictures/artwork.qrc)
    message(FATAL_ERROR "the build's resource list was installed with the pictures")
endif()

# The launcher starts the installed program by its name and shows the installed icon.
file(STRINGS ${PREFIX}/share/applications/quillery.desktop exec REGEX "^Exec=")
file(STRINGS ${PREFIX}/share/applications/quillery.desktop icon REGEX "^Icon=")
if(NOT exec MATCHES "^Exec=quillery( |$)" OR NOT icon STREQUAL "Icon=quillery")
    message(FATAL_ERROR "the launcher names ${exec} and ${icon}")
endif()
find_program(validator desktop-file-validate)
if(validator)
    execute_process(COMMAND ${validator} ${PREFIX}/share/applications/quillery.desktop
        RESULT_VARIABLE valid OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT valid EQUAL 0 OR NOT said STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${said}")
    endif()
else()
    message(STATUS "desktop-file-validate not found: the launcher is not validated")
endif()

# The installed tool works from any folder.
set(work ${PREFIX}/work)
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${PREFIX}/bin/quillery-data create Books.QLY
    COMMAND_ECHO NONE WORKING_DIRECTORY ${work} RESULT_VARIABLE created)
execute_process(COMMAND ${PREFIX}/bin/quillery-data import Books.QLY
    ${PREFIX}/share/quillery/example/awards.csv
    WORKING_DIRECTORY ${work} RESULT_VARIABLE imported ERROR_QUIET)
execute_process(COMMAND ${PREFIX}/bin/quillery-data check Books.QLY
    WORKING_DIRECTORY ${work} RESULT_VARIABLE checked OUTPUT_QUIET)
if(NOT created EQUAL 0 OR NOT imported EQUAL 0 OR NOT checked EQUAL 0)
    message(FATAL_ERROR "installed quillery-data: create ${created}, import ${imported}, check ${checked}")
endif()
