#!/usr/bin/env bash
# Prints the share of test code (tests/ and tools/) in the non-blank lines of the
# tracked code files outside docs/, the figure the README gives.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.c' '*.py' '*.sh' '*.cmake' '*.rc' '*CMakeLists.txt' 'CMakePresets.json' \
        ':!docs/' |
    xargs -0 grep -HcvE '^\s*$' |
    awk -F: '{ all += $NF; if ($1 ~ /^(tests|tools)\//) test += $NF }
             END { printf "test code: %d of %d non-blank code lines (%.1f %%)\n", test, all, 100 * test / all }'
