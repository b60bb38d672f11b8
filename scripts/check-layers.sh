#!/usr/bin/env bash
# Fails when a core source includes a folder it must not use: the core's
# libraries depend one way (services <- engine <- games <- records; install
# and the solver on the services and the engine only), and none includes Qt.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
    services) echo "services" ;;
    engine) echo "services engine" ;;
    games) echo "services engine games" ;;
    records) echo "services engine games records" ;;
    install) echo "services install" ;;
    solver) echo "services engine solver" ;;
    esac
}

status=0
for folder in services engine games records install solver; do
    ok=" $(allowed "$folder") "
    # records/browsers/ is the window's, not the records library's.
    while IFS=: read -r file line text; do
        used=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
        if [[ "$ok" != *" $used "* ]]; then
            echo "$file:$line: $folder may not include $used/ ($text)"
            status=1
        fi
    done < <(git ls-files "$folder/*.cpp" "$folder/*.h" | grep -v '^records/browsers/' |
             xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' || true)
    if git ls-files "$folder/*.cpp" "$folder/*.h" | grep -v '^records/browsers/' |
        xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' ; then
        echo "$folder: the core does not include Qt"
        status=1
    fi
done
# The window side depends one way too: art <- play <- records/browsers <- shell.
if git ls-files 'art/*.cpp' 'art/*.h' 'play/*.cpp' 'play/*.h' 'records/browsers/*.cpp' \
    'records/browsers/*.h' | xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"shell/'; then
    echo "art/, play/ and records/browsers/ do not include shell/"
    status=1
fi
if git ls-files 'art/*.cpp' 'art/*.h' 'play/*.cpp' 'play/*.h' |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"records/browsers/'; then
    echo "art/ and play/ do not include records/browsers/"
    status=1
fi
exit $status
