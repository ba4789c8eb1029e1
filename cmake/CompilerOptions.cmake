# Warnings and sanitizers for every target of the project.
if(MSVC)
    add_compile_options(/W4 /utf-8 /permissive-)
    if(VOCABRA_WARNINGS_AS_ERRORS)
        add_compile_options(/WX)
    endif()
else()
    add_compile_options(-Wall -Wextra)
    if(VOCABRA_WARNINGS_AS_ERRORS)
        add_compile_options(-Werror)
    endif()
endif()

if(WIN32)
    # Wide-character Win32 entry points everywhere; no min/max macros in the way of std::.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    if(NOT MSVC)
        # The static runtime and foundation come along only as far as they are used.
        add_compile_options(-ffunction-sections -fdata-sections)
        add_link_options(-Wl,--gc-sections)
    endif()
endif()

if(VOCABRA_STRIP)
    add_link_options(-s)
endif()

if(VOCABRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer: the libraries get the coverage instrumentation and the sanitizers; only the fuzz
# targets link the fuzzer's own main (fuzz/CMakeLists.txt). UBSan stops at its first finding, so
# that libFuzzer reports it as a crash with the input that caused it.
if(VOCABRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VOCABRA_FUZZ needs clang (libFuzzer); configure with the preset \"fuzz\"")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
