#!/usr/bin/env bash
# kav-qtgallery from the outside: a screenshot in each of the five looks (the window's size, all
# different, repeatable), twice the pixels at twice the density, and a bad look.
# Usage: bash test_kav_qtgallery.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=${1:?build folder}
tool="$build_dir/tools/qtgallery/kav-qtgallery"
if [[ ! -x $tool ]]; then
    echo "FAIL: $tool is not built (cmake --build $build_dir --target kav-qtgallery)"
    exit 1
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
looks=(MacOS WinXP DeepBlue Protein BlueGlass)

. "$(dirname "${BASH_SOURCE[0]}")/command_checks.sh"
# png_size FILE: "WIDTHxHEIGHT" from the PNG header, empty when the file is no PNG.
png_size() {
    local signature
    signature=$(od -An -tx1 -N8 "$1" 2>/dev/null | tr -d ' \n')
    [[ $signature == 89504e470d0a1a0a ]] || return 0
    local b
    read -r -a b <<<"$(od -An -tu1 -j16 -N8 "$1")"
    echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}
sized() { # FILE WxH
    local size
    size=$(png_size "$1")
    if [[ $size == "$2" ]]; then ok; else bad "$1 is ${size:-no PNG}, expected $2"; fi
}

run 0 --help
has out.txt "Usage:"
has out.txt "--screenshot <FILE.png>"

# The window's size (QtGalleryWindow::PageSize), and twice that at twice the density.
for look in "${looks[@]}"; do
    run 0 --look "$look" --screenshot "$look.png"
    sized "$look.png" 1000x860
done
distinct=$(for look in "${looks[@]}"; do [[ -f $look.png ]] && cksum <"$look.png"; done | sort -u | wc -l)
if [[ $distinct -eq ${#looks[@]} ]]; then ok; else bad "only $distinct of ${#looks[@]} looks give different screenshots"; fi
QT_SCALE_FACTOR=2 run 0 --look MacOS --screenshot dense.png
sized dense.png 2000x1720

run 0 --look WinXP --screenshot again.png
if cmp -s again.png WinXP.png; then ok; else bad "two renderings of WinXP differ"; fi
run 2 --look Aqua --screenshot aqua.png
has err.txt 'unknown look "Aqua"'

echo "kav-qtgallery: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
