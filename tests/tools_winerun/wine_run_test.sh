#!/usr/bin/env bash
# The runner tries a start again only when the program never ran:
#   wine_run_test.sh WINE_RUN START_PROBE.exe
# A stand-in for wine, first on PATH, counts the starts and fails the first
# ones the way Wine fails a start on a busy machine: an exit code after a
# quarter of a second, and the program never ran.
set -u
wine_run="$1"; probe="$2"
real_wine="$(command -v wine)" || { echo "no wine on PATH"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat > "$work/wine" <<EOF
#!/usr/bin/env bash
n=\$(( \$(cat "$work/starts") + 1 ))
echo "\$n" > "$work/starts"
if [ "\$n" -le "\${FAILED_STARTS:-0}" ]; then sleep 0.25; exit "\${FAILED_CODE:-1}"; fi
exec "$real_wine" "\$@"
EOF
chmod +x "$work/wine"

marked=("$wine_run" --start-mark "$probe")
plain=("$wine_run" "$probe")
pass=(--gtest_filter=Probe.Passes)
fail=(--gtest_filter=Probe.DISABLED_Fails --gtest_also_run_disabled_tests)
crash=(--gtest_filter=Probe.DISABLED_Crashes --gtest_also_run_disabled_tests)
ended=(--gtest_filter=Probe.DISABLED_EndsTheProcess --gtest_also_run_disabled_tests)
failures=0
# row NAME FAILED_STARTS FAILED_CODE STARTS EXIT(0 or failed) OUTPUT -- RUNNER ARGUMENTS
row() {
    local name="$1" failed="$2" code="$3" starts="$4" exit="$5" output="$6"
    shift 7
    echo 0 > "$work/starts"
    local out rc
    out="$(PATH="$work:$PATH" FAILED_STARTS="$failed" FAILED_CODE="$code" "$@" 2>&1)"
    rc=$?
    local got_exit=failed
    [ "$rc" -ne 0 ] || got_exit=0
    if [ "$(cat "$work/starts")" != "$starts" ] || [ "$got_exit" != "$exit" ] ||
       ! grep -qF -- "$output" <<<"$out"; then
        echo "FAILED: $name: $(cat "$work/starts") starts (expected $starts), exit code $rc" \
             "(expected $exit), output (expected to hold \"$output\"):"
        echo "$out"
        failures=$((failures + 1))
    fi
}

row "a failed start is tried once more" 1 1 2 0 "[  PASSED  ] 1 test" -- "${marked[@]}" "${pass[@]}"
row "a failed start that Wine called a success too" 1 0 2 0 "[  PASSED  ] 1 test" -- "${marked[@]}" "${pass[@]}"
row "two failed starts are a failure" 2 1 2 failed "did not start (exit code 1, attempt 2)" -- "${marked[@]}" "${pass[@]}"
row "two failed starts called a success are a failure" 2 0 2 failed "did not start (exit code 0, attempt 2)" -- "${marked[@]}" "${pass[@]}"
row "a program Wine cannot open" 0 0 2 failed "did not start (exit code 53, attempt 2)" -- "$wine_run" --start-mark "$work/brak.exe"
row "a test that failed is not run again" 0 0 1 failed "failed on purpose" -- "${marked[@]}" "${fail[@]}"
# Wine ends a crashed program with exit code 5, or 0 when its debugger ends
# it first; a test that ends the process with 0 is that case made certain.
row "a test that crashed is not run again" 0 0 1 failed "[ RUN      ] Probe.DISABLED_Crashes" -- "${marked[@]}" "${crash[@]}"
row "a test that ended the process with 0 fails" 0 0 1 failed "without returning from main" -- "${marked[@]}" "${ended[@]}"
row "a program that marks no start is never run again" 1 1 1 failed "" -- "${plain[@]}" "${pass[@]}"
row "a program that marks no start runs once" 0 0 1 0 "[  PASSED  ] 1 test" -- "${plain[@]}" "${pass[@]}"

[ "$failures" -eq 0 ] && echo "all rows passed"
exit "$failures"
