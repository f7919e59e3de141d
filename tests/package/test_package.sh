#!/usr/bin/env bash
# The skin library as another project uses it: install it from the build folder into a fresh
# prefix, build examples/hello against that prefix through CMake (a project that sets no C++
# standard) and through the README's pkg-config line exactly as written there, run both offscreen,
# check that OK's signal reaches a slot and a lambda, and that the button on their screenshots was
# drawn from the look's pictures. A program checks the compile-time version against the library.
# Usage: bash test_package.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=$(cd "${1:?build folder}" && pwd)
source_dir=$(cd "${2:?source folder}" && pwd)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

failures=0
ok() { :; }
bad() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build_dir/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

if ! cmake --install "$build_dir" --prefix "$prefix" --component kavskin >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: cmake --install $build_dir"
    exit 1
fi

# The window is white; the button sits at (20,20) 100x30 and its pictures give it a dark border,
# which a button drawn without them (only its caption) lacks.
# button_drawn FILE: the button's left and top borders are dark.
button_drawn() {
    local shot=$1 dark
    if [[ ! -s $shot ]]; then
        bad "$shot was not written"
        return
    fi
    for at in 20,35 60,20; do
        dark=$(convert "$shot" -format "%[fx:p{$at}.intensity < 0.5]" info: 2>/dev/null)
        if [[ $dark != 1 ]]; then
            bad "$shot: no button border at $at"
            return
        fi
    done
    ok
}

# run_hello PROGRAM SHOT: runs it offscreen with OK pressed once; it must succeed, say what the
# connected slot and lambda did, write the screenshot and not warn about missing pictures.
run_hello() {
    local program=$1 shot=$2
    if ! "$program" --click --screenshot "$shot" >"$work/run.out" 2>"$work/run.log"; then
        cat "$work/run.out" "$work/run.log"
        bad "$program --click --screenshot failed"
        return
    fi
    if [[ $(cat "$work/run.out") != Remembered ]]; then
        bad "$program: pressing OK did not tick the box and say so (printed \"$(cat "$work/run.out")\")"
    fi
    if grep -qi "missing\|not found" "$work/run.log"; then
        cat "$work/run.log"
        bad "$program reported a missing resource"
    fi
    button_drawn "$shot"
}

# Through CMake, asking for the version the README names.
if cmake -S "$source_dir/examples/hello" -B "$work/cmake-build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" >"$work/cmake.log" 2>&1 \
    && cmake --build "$work/cmake-build" >>"$work/cmake.log" 2>&1; then
    run_hello "$work/cmake-build/hello" "$work/cmake.png"
else
    cat "$work/cmake.log"
    bad "examples/hello does not build with CMake against the installed package"
fi

# A version newer than the library's must be refused.
mkdir -p "$work/too-new"
cat >"$work/too-new/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(too_new LANGUAGES CXX)
find_package(KavSkin 99 REQUIRED)
CMAKE
if cmake -S "$work/too-new" -B "$work/too-new/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null 2>&1; then
    bad "find_package(KavSkin 99) succeeded"
fi

# Through pkg-config, with the line the README gives, run as it stands there in a copy of the
# example's folder.
readme_line=$(grep -E '^g\+\+ .*pkg-config' "$source_dir/README.md")
if [[ $(wc -l <<<"$readme_line") -ne 1 || $readme_line != *'$(pkg-config --cflags --libs kavskin)'* ]]; then
    bad "the README has no single pkg-config build line (found: $readme_line)"
fi
pc_file=$(find "$prefix" -name kavskin.pc | head -n 1)
if [[ -z $pc_file ]]; then
    bad "kavskin.pc is not installed"
else
    export PKG_CONFIG_PATH="$(dirname "$pc_file")${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
    mkdir -p "$work/pc"
    cp "$source_dir/examples/hello/main.cpp" "$work/pc/"
    if (cd "$work/pc" && bash -euc "$readme_line") >"$work/pc.log" 2>&1 && [[ -x $work/pc/hello ]]; then
        run_hello "$work/pc/hello" "$work/pc.png"
    else
        cat "$work/pc.log"
        bad "examples/hello does not build with the README's line: $readme_line"
    fi

    # The compile-time version is the library's, and comparable.
    cat >"$work/pc/version.cpp" <<'CPP'
#include <KAVVersion.h>
#include <cstdio>
#if !defined(KAVSKIN_VERSION) || KAVSKIN_VERSION < KAVSKIN_VERSION_CHECK(1, 2, 0) || KAVSKIN_VERSION >= KAVSKIN_VERSION_CHECK(99, 0, 0)
#error "KAVSKIN_VERSION is missing or out of range"
#endif
static_assert(KAVSKIN_VERSION == ((KAVSKIN_VERSION_MAJOR << 16) | (KAVSKIN_VERSION_MINOR << 8) | KAVSKIN_VERSION_PATCH));
static_assert(KAVSKIN_VERSION_CHECK(1, 2, 0) > KAVSKIN_VERSION_CHECK(1, 1, 9));
int main()
{
    std::printf("%s %s\n", KAVSKIN_VERSION_STR, qPrintable(Kav::KavSkinVersion()));
    return Kav::KavSkinVersion() == QLatin1String(KAVSKIN_VERSION_STR) ? 0 : 1;
}
CPP
    if (cd "$work/pc" && g++ -std=c++20 -Wall -Wextra -Werror version.cpp $(pkg-config --cflags --libs kavskin) -o version) \
            >"$work/version.log" 2>&1; then
        if ! "$work/pc/version" >"$work/version.out" 2>&1; then
            bad "KAVSKIN_VERSION_STR is not the library's version: $(cat "$work/version.out")"
        elif [[ $(cat "$work/version.out") != "$project_version $project_version" ]]; then
            bad "the version program printed \"$(cat "$work/version.out")\", expected the project's $project_version"
        fi
    else
        cat "$work/version.log"
        bad "a program using KAVSKIN_VERSION does not build"
    fi
fi

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS"
