#!/usr/bin/env bash
# Every per-file option of "17. Word processing" through the runner, on every .docx the project keeps for
# tests and on the shared collection of reproductions when the machine has it. Each run works on its own
# copy of the document: the runner ends normally (no signal, no sanitizer report, no question left
# unanswered), the copy it was given is unchanged, and LibreOffice opens every review copy written.
# Usage: word_corpus_contract.sh scrivano-cli FOLDER... Exit 77 (skipped) without LibreOffice.
set -u
cli=$1
shift
if ! command -v soffice >/dev/null; then
  echo "SKIP: LibreOffice (soffice) is not installed"
  exit 77
fi
docs=
. "$(dirname "$0")/common.sh"

# Each option with the answers its questions take; the markers of options 3 to 9 are named.
options=("1" "3 yes" "4 1" "5" "6" "8" "9" "10")
documents=0
copies=()
while IFS= read -r -d '' source; do
  documents=$((documents + 1))
  name=$(basename "$source")
  for answers in "${options[@]}"; do
    read -r -a answer <<<"$answers"
    option=${answer[0]}
    run="$work/$documents-$option-$name"
    cp "$source" "$run"
    before=$(md5sum <"$run")
    printf '%s\n' "$run" >"$work/list"
    args=()
    for a in "${answer[@]}"; do args+=(--answer "$a"); done
    "$cli" run 17 "${args[@]}" --param 18=M1 --param 19=M2 --input "$work/list" >"$work/out" 2>"$work/err"
    status=$?
    what="$name, option $option"
    if [ "$status" -ge 2 ] || grep -qE 'Sanitizer|runtime error' "$work/err"; then
      fail "$what: exit $status: $(head -c 2000 "$work/err")"
    fi
    [ "$(md5sum <"$run")" = "$before" ] || fail "$what: the original changed"
    copy="${run%.docx}.scrivano.docx"
    [ -f "$copy" ] && copies+=("$copy")
  done
done < <(for folder in "$@"; do [ -d "$folder" ] && find "$folder" -name '*.docx' -type f -print0; done)
[ "$documents" -ge 5 ] || fail "only $documents documents found in $*"
[ "${#copies[@]}" -gt 0 ] || fail "no review copy was written"

# LibreOffice opens every review copy: one conversion run for all of them.
mkdir -p "$work/text"
soffice "-env:UserInstallation=file://$work/profile" --headless --norestore --convert-to 'txt:Text (encoded):UTF8' \
  --outdir "$work/text" "${copies[@]}" >/dev/null 2>&1
for copy in "${copies[@]}"; do
  base=$(basename "${copy%.docx}")
  [ -f "$work/text/$base.txt" ] || fail "LibreOffice could not open $base.docx"
done

finish "all per-file options ran on $documents documents; LibreOffice opened all ${#copies[@]} review copies"
