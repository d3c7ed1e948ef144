# Warnings for every target of the project, through one interface target.
add_library(qm_warnings INTERFACE)
target_compile_options(qm_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough)
if(QM_WERROR)
    target_compile_options(qm_warnings INTERFACE -Werror)
endif()
