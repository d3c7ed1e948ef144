# Warnings for every target of the project, through one interface target.
add_library(qm_warnings INTERFACE)
target_compile_options(qm_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough)
# g++ 12 reports -Wrestrict on plain std::string assignments at -O2 (a known false positive of that release).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(qm_warnings INTERFACE -Wno-restrict)
endif()
if(QM_WERROR)
    target_compile_options(qm_warnings INTERFACE -Werror)
endif()
