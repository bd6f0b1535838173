# Cross-build for 64-bit Windows with mingw-w64 (posix threads), fully static, run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARDO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARDO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARDO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARDO_MINGW_TRIPLET}-windres)

# Headers and libraries come from the mingw sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARDO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 warns falsely about std::string's operator+ with a literal at -O2 and above (GCC bug
# 105651, fixed in 13); with warnings as errors that would stop the optimised build.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# Every executable stands alone: no libgcc, libstdc++ or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here run under Wine, both for CTest and for GoogleTest's test discovery, through
# wine-run.sh. The environment rides on the emulator command because discovery ignores test
# properties: a quiet Wine, a prefix of our own inside the build folder (never ~/.wine), no
# desktop menu entries or add-on downloads, and a Japanese locale (compiled into the build folder
# when the host lacks it) so the ANSI code page is 932 as on the machines the product is for.
set(VARDO_WINE /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader that runs the cross-built programs")
set(VARDO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(VARDO_LOCPATH ${CMAKE_BINARY_DIR}/locale CACHE PATH "Locales compiled for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEDEBUG=-all WINEPREFIX=${VARDO_WINEPREFIX} LOCPATH=${VARDO_LOCPATH} LC_ALL=ja_JP.UTF-8
    "WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d" VARDO_WINE=${VARDO_WINE}
    /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
