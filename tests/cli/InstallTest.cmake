# Installs a native build tree into a fresh prefix and runs what was installed.
# cmake -D BUILD=<build tree> -D PREFIX=<empty folder> -P InstallTest.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()

set(program ${PREFIX}/bin/halvern-cli)
set(manual ${PREFIX}/share/man/man1/halvern-cli.1)
foreach(file ${program} ${manual})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# Nothing else: no test programs, no GoogleTest.
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
if(NOT installed STREQUAL "bin/halvern-cli;share/man/man1/halvern-cli.1")
  message(FATAL_ERROR "installed more than the program and its manual: ${installed}")
endif()

execute_process(COMMAND ${program} --version OUTPUT_VARIABLE version RESULT_VARIABLE failed)
if(failed OR NOT version STREQUAL "halvern-cli ${VERSION}\n")
  message(FATAL_ERROR "installed halvern-cli --version gave '${version}' (${failed})")
endif()
execute_process(COMMAND ${program} --help OUTPUT_VARIABLE help RESULT_VARIABLE failed)
if(failed OR NOT help MATCHES "^Gebruik: halvern-cli ")
  message(FATAL_ERROR "installed halvern-cli --help failed (${failed})")
endif()

# The manual page as man shows it, where man is there.
find_program(MAN man)
if(MAN)
  execute_process(COMMAND ${MAN} -l ${manual} OUTPUT_VARIABLE page RESULT_VARIABLE failed
                  ERROR_QUIET)
  if(failed OR NOT page MATCHES "AFSLUITSTATUS")
    message(FATAL_ERROR "man -l ${manual} failed (${failed})")
  endif()
endif()
file(REMOVE_RECURSE ${PREFIX})
