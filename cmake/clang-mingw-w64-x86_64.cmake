# The same 64-bit Windows target built by clang, with mingw-w64's headers, import libraries and
# linker and GCC's libstdc++ (posix threads), so that code only GCC accepts is caught. The programs
# are built, not run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

# clang looks for libstdc++ under the GCC version folder, which Debian names "12-posix"; point it
# there (the newest such folder) explicitly.
file(GLOB _gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${MINGW_PREFIX}/*-posix)
list(SORT _gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET _gcc_dirs 0 _gcc_dir)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${_gcc_dir}/include/c++
    ${_gcc_dir}/include/c++/${MINGW_PREFIX} ${_gcc_dir}/include/c++/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${_gcc_dir} -pthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-L${_gcc_dir} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
