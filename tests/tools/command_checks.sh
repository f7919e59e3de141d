# Shared by the script tests of command-line tools: a scratch folder to work in, pass/fail
# counting, and checks of a command's exit status and output. Source it after setting $tool.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL: $*"; }

# run EXPECTED_STATUS ARGS...: runs $tool, keeps its output in out.txt and err.txt.
run() {
    local expected=$1
    shift
    "$tool" "$@" >out.txt 2>err.txt
    local status=$?
    if [[ $status -eq $expected ]]; then
        ok
    else
        bad "$(basename "$tool") $* exited with $status, expected $expected; stderr: $(cat err.txt)"
    fi
}
# has FILE TEXT: the file holds the text (fixed string).
has() {
    if grep -qF -- "$2" "$1"; then ok; else bad "$1 lacks \"$2\": $(head -c 600 "$1")"; fi
}
