# Cross toolchain: clang for 64-bit Windows, on the same MinGW-w64 headers, import libraries and
# libstdc++ (its -posix build, for std::thread and std::mutex) as mingw-w64-x86_64.cmake. A second
# compiler catches what the first one lets through; the programs are the same, linked statically.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# MinGW's binutils: llvm-ar is not among clang's dependencies.
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "Archive indexer")

# With MinGW's folder as the system root, the host's /usr/include and /usr/lib stay out of the
# search paths (clang would take them from where x86_64-w64-mingw32-gcc lives).
set(CMAKE_SYSROOT /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# clang does not find Debian's MinGW gcc folder (".../12-posix" is no version number to it), so
# libstdc++'s headers and libgcc's folder are named here, as the -posix gcc reports them.
execute_process(COMMAND x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/x86_64-w64-mingw32 -isystem ${gcc_dir}/include/c++/backward")
# lld reads MinGW's libraries; -pthread links winpthreads, which the -posix libstdc++ needs
# (gcc's -posix driver adds it by itself).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -pthread -L${gcc_dir}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -static -pthread -L${gcc_dir}")

# As in the gcc build, test executables would run under Wine through the runner script.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run")
