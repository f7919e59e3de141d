#!/usr/bin/env bash
# The style plugin from the outside: a plain Qt program that does not link the library loads it
# through QStyleFactory, -style, QT_STYLE_OVERRIDE, KAVSKIN_LOOK and KAVSKIN_THEME, and from the
# folder the README's install command puts it in. Usage: bash test_style_plugin.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=$(realpath "${1:?build folder}")
tool="$build_dir/tests/kav_style_probe"
plugin="$build_dir/plugins/styles/libkavskinstyle.so"
for needed in "$tool" "$plugin" "$build_dir/tools/kav-theme/kav-theme"; do
    if [[ ! -e $needed ]]; then
        echo "FAIL: $needed is not built"
        exit 1
    fi
done

. "$(dirname "${BASH_SOURCE[0]}")/../tools/command_checks.sh"
export QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$build_dir/plugins"
unset QT_STYLE_OVERRIDE KAVSKIN_LOOK KAVSKIN_THEME

# The probe is plain Qt: no code of the library in it.
if nm -C "$tool" | grep -q 'KavStyle\|TkavFileTheme'; then bad "the probe carries library code"; else ok; fi

run 0 --keys
sed -i 's/^keys=/keys=,/; s/$/,/' out.txt
for key in kavskin kavskin-macos kavskin-winxp kavskin-deepblue kavskin-protein kavskin-blueglass; do
    has out.txt ",$key,"
done

# Fusion's push button, to tell that each key draws otherwise.
run 0 --create fusion
fusion_button=$(sed -n 's/^button=//p' out.txt)

# Each key's look: the window colour (FormBackgroundColor), the check box picture, the scroll bar's
# width and the progress bar's thickness of that look; and it draws (a button unlike Fusion's).
while read -r key window indicator scrollbar; do
    run 0 --create "$key"
    has out.txt "style=$key"
    has out.txt "class=Kav::KavStyle"
    has out.txt "window=$window"
    has out.txt "indicator=$indicator"
    has out.txt "scrollbar=$scrollbar"
    has out.txt "progress=12"
    button=$(sed -n 's/^button=//p' out.txt)
    if [[ -n $button && $button != "$fusion_button" ]]; then ok; else bad "$key draws a button as Fusion's ($button)"; fi
done <<'TABLE'
kavskin-macos #e7e7e7 15x17 16
kavskin-winxp #efebde 13x13 16
kavskin-deepblue #e8e8e8 13x13 16
kavskin-protein #fbfbfb 13x13 16
kavskin-blueglass #e7e7e7 13x13 17
TABLE

# As any Qt program takes a style; it draws (a push button differs from Fusion's).
run 0 -style kavskin-winxp
has out.txt "style=kavskin-winxp"
has out.txt "window=#efebde"
winxp_button=$(sed -n 's/^button=//p' out.txt)
if [[ -n $winxp_button && $winxp_button != "$fusion_button" ]]; then ok; else bad "a button looks as Fusion's ($winxp_button)"; fi
QT_STYLE_OVERRIDE=kavskin-macos run 0
has out.txt "style=kavskin-macos"
has out.txt "window=#e7e7e7"

# kavskin: KAVSKIN_LOOK in any case, an unknown look told and DeepBlue used, DeepBlue by default.
KAVSKIN_LOOK=Protein run 0 -style kavskin
has out.txt "window=#fbfbfb"
KAVSKIN_LOOK=protein run 0 -style kavskin
has out.txt "window=#fbfbfb"
KAVSKIN_LOOK=Nonsense run 0 -style kavskin
has out.txt "window=#e8e8e8"
has err.txt 'unknown look "Nonsense" (KAVSKIN_LOOK)'
run 0 -style kavskin
has out.txt "window=#e8e8e8"

# KAVSKIN_THEME: a theme file's look wins over KAVSKIN_LOOK; one that cannot be used is told and
# KAVSKIN_LOOK is taken.
"$build_dir/tools/kav-theme/kav-theme" export Protein protein.kav >/dev/null || bad "kav-theme export failed"
KAVSKIN_THEME="$work/protein.kav" KAVSKIN_LOOK=WinXP run 0 -style kavskin
has out.txt "window=#fbfbfb"
has out.txt "indicator=13x13"
# As the README writes it: a file name relative to the program's folder.
"$build_dir/tools/kav-theme/kav-theme" export MacOS looks.kav >/dev/null || bad "kav-theme export failed"
KAVSKIN_THEME=looks.kav run 0 -style kavskin
has out.txt "window=#e7e7e7"
has out.txt "indicator=15x17"
KAVSKIN_THEME="$work/missing.kav" KAVSKIN_LOOK=MacOS run 0 -style kavskin
has out.txt "window=#e7e7e7"
has err.txt "cannot use the theme file \"$work/missing.kav\" (KAVSKIN_THEME): there is no such file"
printf 'not a theme' >broken.kav
KAVSKIN_THEME="$work/broken.kav" run 0 -style kavskin
has out.txt "window=#e8e8e8"
has err.txt 'cannot use the theme file'

# The README's route: the install component alone, into a prefix, found through QT_PLUGIN_PATH.
cmake --install "$build_dir" --component kavskinstyle --prefix "$work/prefix" >install.txt 2>&1 || bad "install: $(cat install.txt)"
installed="$work/prefix/lib/x86_64-linux-gnu/qt6/plugins"
if [[ -f $installed/styles/libkavskinstyle.so ]]; then ok; else bad "not installed in $installed/styles: $(find "$work/prefix" -type f)"; fi
if [[ $(find "$work/prefix" -type f | wc -l) -eq 1 ]]; then ok; else bad "the component installs more: $(find "$work/prefix" -type f)"; fi
QT_PLUGIN_PATH="$installed" run 0 -style kavskin-blueglass
has out.txt "style=kavskin-blueglass"
has out.txt "scrollbar=17"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
