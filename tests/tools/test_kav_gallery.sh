#!/usr/bin/env bash
# The gallery from the outside: a screenshot in each of the five looks (right size, all
# different), look names in any case, theme files, and the mistakes that must fail loudly.
# Usage: bash test_kav_gallery.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=${1:?build folder}
tool="$build_dir/tools/gallery/kav-gallery"
theme_tool="$build_dir/tools/kav-theme/kav-theme"
if [[ ! -x $tool ]]; then
    echo "FAIL: $tool is not built (cmake --build $build_dir --target kav-gallery)"
    exit 1
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# The gallery page's size (GalleryWindow::PageSize).
page_width=940
page_height=990
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
# is_page FILE: the file is a PNG of the gallery page's size.
is_page() {
    if [[ ! -s $1 ]]; then
        bad "$1 was not written"
        return
    fi
    local size
    size=$(png_size "$1")
    if [[ $size == "${page_width}x${page_height}" ]]; then ok; else bad "$1 is ${size:-no PNG}, expected ${page_width}x${page_height}"; fi
}
absent() {
    if [[ ! -e $1 ]]; then ok; else bad "$1 was written although the run failed"; fi
}

# --- help -------------------------------------------------------------------------------------
run 0 --help
has out.txt "Usage: kav-gallery"
has out.txt "--screenshot FILE.png"
has out.txt "MacOS, WinXP, DeepBlue, Protein, BlueGlass"

# --- one screenshot per look --------------------------------------------------------------------
for look in "${looks[@]}"; do
    run 0 --look "$look" --screenshot "$look.png"
    is_page "$look.png"
done
distinct=$(for look in "${looks[@]}"; do [[ -f $look.png ]] && cksum <"$look.png"; done | sort -u | wc -l)
if [[ $distinct -eq ${#looks[@]} ]]; then ok; else bad "only $distinct of ${#looks[@]} looks give different screenshots"; fi

# Look names are taken in any case, and rendering is repeatable.
run 0 --look winxp --screenshot lower.png
if cmp -s lower.png WinXP.png; then ok; else bad "--look winxp does not render as --look WinXP"; fi

# --- theme files --------------------------------------------------------------------------------
if [[ -x $theme_tool ]]; then
    "$theme_tool" export Protein protein.kav >/dev/null 2>&1 || bad "kav-theme could not export Protein"
    run 0 --theme protein.kav --screenshot theme.png
    is_page theme.png
else
    echo "note: $theme_tool is not built; the theme file that loads is not tried"
fi
printf 'not a theme' >damaged.kav
run 1 --theme damaged.kav --screenshot damaged.png
has err.txt 'cannot use the theme file "damaged.kav"'
absent damaged.png
run 1 --theme missing.kav --screenshot missing.png
has err.txt 'cannot use the theme file "missing.kav"'
absent missing.png

# --- mistakes -----------------------------------------------------------------------------------
run 2 --look Aqua --screenshot aqua.png
has err.txt 'unknown look "Aqua"'
absent aqua.png
run 2 --look MacOS --theme protein.kav --screenshot both.png
has err.txt "--look and --theme exclude each other"
absent both.png
run 2 --frobnicate
has err.txt "frobnicate"
run 2 --look
has err.txt "--look"
run 2 stray
has err.txt 'unexpected argument "stray"'
run 1 --look DeepBlue --screenshot no-such-folder/shot.png
has err.txt 'cannot write "no-such-folder/shot.png"'
absent no-such-folder/shot.png

echo "kav-gallery: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
