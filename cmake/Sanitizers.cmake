# Instrumented builds: QM_SANITIZE (AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer over every
# target, for the whole test suite) and QM_FUZZ (clang: the core libraries instrumented for libFuzzer).
option(QM_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QM_FUZZ "Build the libFuzzer targets under fuzz/ (clang)" OFF)

if(QM_SANITIZE OR QM_FUZZ)
    # Every target of the project; -fno-sanitize-recover makes the first report end the program.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(QM_SANITIZE)
    # Optimised a little so that the time-limited tests (the link at the line rate) keep their pace.
    add_compile_options(-O1)
    # g++ 12 with AddressSanitizer reports uninitialised members inside libstdc++'s <regex> that are not.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options(-Wno-maybe-uninitialized)
    endif()
endif()

if(QM_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QM_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
