#!/usr/bin/env bash
# The lookup tool from outside: its options, outputs and exit codes, on the shipped locale files.
# usage: lookup_tool_test.sh <vocabra-lookup> <version>
set -u
tool=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VOCABRA_REGISTRY="$work/registry.reg"
export XDG_STATE_HOME="$work/state"
unset LC_ALL LC_MESSAGES
export LANG=C.UTF-8

passed=0
failed=0
check() {  # check <description> <expected> <actual>
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    fi
}
run() {  # run <args...>: sets out, err, status
    "$tool" "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}
registry() {  # registry <value lines...>: the user's settings
    {
        printf 'Windows Registry Editor Version 5.00\n\n'
        printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra]\n'
        printf '%s\n' "$@"
    } >"$VOCABRA_REGISTRY"
}

# Every shipped service loads, in both languages, in the shipped priority order.
for language in en ru; do
    run --ui-language "$language" --services
    check "$language: services listed" 0 "$status"
    check "$language: every shipped service created" \
        "Lingvo Multilex Google Babylon Multitran DeepL Reverso Yandex" "$(cut -f1 <<<"$out" | tr '\n' ' ' | sed 's/ $//')"
done
run --services
check "Lingvo's directions, sorted" "Lingvo	ABBYY Lingvo	de-ru,en-ru,es-ru,fr-ru,it-ru,ru-de,ru-en,ru-es,ru-fr,ru-it" "$(head -n1 <<<"$out")"

run --directions
check "directions named in English" "en-ru	English → Russian" "$(grep '^en-ru' <<<"$out")"
check "directions sorted" "$(cut -f1 <<<"$out" | LC_ALL=C sort)" "$(cut -f1 <<<"$out")"
run --ui-language ru --directions
check "directions named in Russian" "en-ru	Английский → русский" "$(grep '^en-ru' <<<"$out")"

# Translation: default direction, escaping, the user's direction and priority.
run "  100%" "дом "
check "default direction en-ru through Lingvo" \
    "https://www.lingvolive.com/en-us/translate/en-ru/100%25%20%d0%b4%d0%be%d0%bc" "$out"
run --direction ru-en --ui-language ru дом
check "explicit direction, Russian folder" "https://www.lingvolive.com/ru-ru/translate/ru-en/%d0%b4%d0%be%d0%bc" "$out"
registry '"dictionaryDirection"="de-en"' '"dictionaryPriority"="Multilex,DeepL"'
run Haus
check "the user's direction and priority" "https://www.deepl.com/translator#de/en/Haus" "$out"
registry '"dictionaryPriority"="Multilex"'
run --direction en-ru "naïve"
check "Multilex escapes UTF-16 units" "https://www.multilex.ru/online/?lang=en&dir=1&text=na%EFve" "$out"

# Refusals and usage errors.
run --direction xx-yy word
check "unsupported direction: status" 1 "$status"
check "unsupported direction: the engine's text" "Unsupported translation: xx-yy" "$err"
run "   "
check "nothing to translate" 2 "$status"
run --bogus word
check "unknown option" 2 "$status"
run --direction
check "missing value" 2 "$status"
run --program-dir "$work/nowhere" word
check "no configuration: nothing supports the direction" 1 "$status"

# Version and update check (the document served from a local folder).
run --version
check "version" "$version" "$out"
mkdir -p "$work/site/tools"
printf '<vocabra version="9.9.9.9"><update_link>http://installer.test/v.msi</update_link></vocabra>' \
    >"$work/site/tools/VocabraUpdate.xml"
printf '<vocabra version="%s"/>' "$version" >"$work/site/tools/Same.xml"
timeout 60 python3 -m http.server --bind 127.0.0.1 --directory "$work/site" 0 >"$work/http.log" 2>&1 &
server=$!
for _ in $(seq 1 50); do
    port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/http.log" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
run --check-update --update-url "http://127.0.0.1:$port/tools/VocabraUpdate.xml"
check "another version offered" "update available: http://installer.test/v.msi" "$out"
run --check-update --update-url "http://127.0.0.1:$port/tools/VocabraUpdate.xml"
check "not due again within the day" "up to date" "$out"
run --check-update --force --update-url "http://127.0.0.1:$port/tools/Same.xml"
check "same version: up to date" "up to date" "$out"
run --check-update --force --update-url "http://127.0.0.1:$port/missing.xml"
check "404: up to date, status 0" "up to date 0" "$out $status"

# The offered address is only ever a web address: anything else leaves the built-in one.
printf '<vocabra version="9.9.9.9"/>' >"$work/site/tools/NoLink.xml"
run --check-update --force --update-url "http://127.0.0.1:$port/tools/NoLink.xml"
builtin=$out
check "without a link the built-in address is offered" "update available: https://" "${builtin:0:26}"
link_document() {  # link_document <name> <link>: a document naming another version at <link>
    printf '<vocabra version="9.9.9.9"><update_link>%s</update_link></vocabra>' "$2" >"$work/site/tools/$1.xml"
}
link_document File 'file:///C:/Windows/System32/calc.exe'
link_document Unc '\\attacker\share\setup.exe'
link_document Drive 'C:\Users\Public\setup.exe'
link_document Script 'javascript:alert(1)'
link_document Good 'https://updates.example.org/tools/Vocabra.msi'
for name in File Unc Drive Script; do
    run --check-update --force --update-url "http://127.0.0.1:$port/tools/$name.xml"
    check "$name link refused" "$builtin" "$out"
done
run --check-update --force --update-url "http://127.0.0.1:$port/tools/Good.xml"
check "https link taken" "update available: https://updates.example.org/tools/Vocabra.msi" "$out"
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
