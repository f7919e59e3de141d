#!/usr/bin/env bash
# The skin library as another project uses it: install it from the build folder into a fresh
# prefix, build examples/hello against that prefix through CMake and through pkg-config, run both
# offscreen and check that the button on their screenshots was drawn from the look's pictures.
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

# run_hello PROGRAM SHOT: runs it offscreen; it must succeed, write the screenshot and not warn
# about missing pictures.
run_hello() {
    local program=$1 shot=$2
    if ! "$program" --screenshot "$shot" >"$work/run.log" 2>&1; then
        cat "$work/run.log"
        bad "$program --screenshot failed"
        return
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

# Through pkg-config, with the line the README gives.
pc_file=$(find "$prefix" -name kavskin.pc | head -n 1)
if [[ -z $pc_file ]]; then
    bad "kavskin.pc is not installed"
else
    export PKG_CONFIG_PATH="$(dirname "$pc_file")${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
    if g++ -std=c++20 -Wall -Wextra -Werror "$source_dir/examples/hello/main.cpp" $(pkg-config --cflags --libs kavskin) \
            -o "$work/hello-pc" >"$work/pc.log" 2>&1; then
        run_hello "$work/hello-pc" "$work/pc.png"
    else
        cat "$work/pc.log"
        bad "examples/hello does not build with pkg-config"
    fi
fi

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS"
