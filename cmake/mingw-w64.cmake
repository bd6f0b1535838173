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
# wine-run.sh, which sets up the session (locale, quiet Wine) and reruns a test once when Wine
# failed under it. The prefix rides on the emulator command because discovery ignores test
# properties: one of our own inside the build folder
# (never ~/.wine), a second one for the window tests (tests/win32), and a Japanese locale compiled
# into the build folder when the host lacks it.
set(VARDO_WINE /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader that runs the cross-built programs")
set(VARDO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(VARDO_WINEPREFIX_WINDOWS ${CMAKE_BINARY_DIR}/wineprefix-windows
    CACHE PATH "Wine prefix for the tests of the real window")
set(VARDO_LOCPATH ${CMAKE_BINARY_DIR}/locale CACHE PATH "Locales compiled for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${VARDO_WINEPREFIX} LOCPATH=${VARDO_LOCPATH} VARDO_WINE=${VARDO_WINE}
    VARDO_WINE_RERUN=1 /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
