#!/usr/bin/env bash
# Every command-line tool answers --version with its name and the project's version, shows its
# help with status 0, and refuses options it does not know and bad option values with status 2.
# Usage: bash test_tool_arguments.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=${1:?build folder}
# No display is needed for any of these answers.
export QT_QPA_PLATFORM=offscreen
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build_dir/CMakeCache.txt")

tool=/bin/true
. "$(dirname "${BASH_SOURCE[0]}")/command_checks.sh"
if [[ -n $version ]]; then ok; else bad "no project version in $build_dir/CMakeCache.txt"; fi

# name folder: the tool's name and where it is built
tools=(
    "kav-theme kav-theme"
    "kav-gallery gallery"
    "kav-mdidemo mdidemo"
    "kav-classlist classlist"
    "kav-exam-shots shots"
    "kav-qtgallery qtgallery"
)
for entry in "${tools[@]}"; do
    read -r name folder <<<"$entry"
    tool="$build_dir/tools/$folder/$name"
    if [[ ! -x $tool ]]; then
        bad "$tool is not built (cmake --build $build_dir --target $name)"
        continue
    fi
    run 0 --version
    if [[ $(cat out.txt) == "$name $version" ]]; then ok; else bad "$name --version said \"$(cat out.txt)\""; fi
    run 0 --help
    has out.txt "Usage:"
    run 2 --no-such-option
done

# The tools that now parse with QCommandLineParser keep their options and exit codes.
for name in mdidemo classlist; do
    tool="$build_dir/tools/$name/kav-$name"
    [[ -x $tool ]] || continue
    run 0 --help
    has out.txt "--look <LOOK>"
    has out.txt "--screenshot <FILE.png>"
    run 2 --look Aqua --screenshot never.png
    has err.txt 'unknown look "Aqua"'
    run 2 --look FromThemeFile --screenshot never.png
    run 2 --help-all
    run 2 --screenshot
    has err.txt "Usage: kav-$name"
    if [[ -e never.png ]]; then bad "kav-$name wrote a screenshot after a usage error"; else ok; fi
done
tool="$build_dir/tools/mdidemo/kav-mdidemo"
if [[ -x $tool ]]; then
    run 2 extra.db --screenshot never.png
    has err.txt 'unexpected argument "extra.db"'
    run 0 --look WinXP --screenshot mdi.png
    if [[ -s mdi.png ]]; then ok; else bad "kav-mdidemo wrote no screenshot"; fi
fi
tool="$build_dir/tools/classlist/kav-classlist"
if [[ -x $tool ]]; then
    run 2 one.db two.db --screenshot never.png
    has err.txt 'unexpected argument "two.db"'
    if [[ -e one.db ]]; then bad "kav-classlist made one.db after a usage error"; else ok; fi
    run 0 --look Protein class.db --screenshot class.png
    if [[ -s class.png && -s class.db ]]; then ok; else bad "kav-classlist wrote no screenshot or database"; fi
fi
tool="$build_dir/tools/shots/kav-exam-shots"
if [[ -x $tool ]]; then
    run 2
    has err.txt "usage: kav-exam-shots OUTDIR"
    # A picture that cannot be written is a failure, said on stderr.
    run 1 no/such/folder
    has err.txt 'cannot write "no/such/folder/exam-idle.png"'
    mkdir -p ro && chmod a-w ro
    if [[ ! -w ro ]]; then
        run 1 ro
        has err.txt "ro/exam-idle.png"
    fi
    # No display is needed: without one it renders offscreen; asked for X11 without a display it
    # says so instead of aborting.
    mkdir -p shots
    (unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; "$tool" shots >out.txt 2>err.txt)
    if [[ $? -eq 0 && -s shots/exam-idle.png && -s shots/exam-running.png && -s shots/exam-handed-in.png ]]; then
        ok
    else
        bad "kav-exam-shots without a display: $(cat err.txt)"
    fi
    (unset DISPLAY; QT_QPA_PLATFORM=xcb "$tool" shots >out.txt 2>err.txt)
    status=$?
    if [[ $status -eq 1 ]]; then ok; else bad "kav-exam-shots on xcb without a display exited with $status"; fi
    has err.txt "DISPLAY is not set"
fi

# tallisk refuses what it does not know before it opens a window (bounded: a window that opened
# instead would wait for a pupil).
tallisk_bounded() { timeout 30 "$build_dir/exam/tallisk" "$@"; }
if [[ -x $build_dir/exam/tallisk ]]; then
    tool=tallisk_bounded
    for arguments in "--bogus" "-x" "stray" "--sheet=a.pdf --bogus" "-platform"; do
        # shellcheck disable=SC2086 # the words of one case
        run 2 $arguments
        has err.txt "用法：tallisk"
    done
    has err.txt "-platform"
    run 0 --help
    has out.txt "用法：tallisk"
else
    bad "$build_dir/exam/tallisk is not built"
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
