#!/usr/bin/env bash
# Compares the BOM print of two builds of distinta-batch on the demo company and on the BOM
# benchmark's synthetic company: CSV, text, fixed width, the workbook's cells (place, style,
# value, column widths) and the text of the PDF must be the same byte for byte, and the
# messages of every run of NEW must be those of
# OLD's straightforward path (the reference: one query per read, nothing kept).
#   scripts/compare-bom-outputs.sh OLD_DISTINTA_BATCH NEW_DISTINTA_BATCH [WORK_DIR]
# Qt's own start-up warnings of OLD are not counted as its messages.
# OLD is a build of the version before a change (for example from `git worktree add`); the
# companies are written by NEW. Both run from inside the company folder, so that a build that
# reads the folder's relative paths against the working folder finds the same files. Exits 0
# when every output is the same.
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
work=${3:-$(mktemp -d)}
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen
"$new" demo "$work/demo" --force >/dev/null
"$new" synth "$work/synth" --products 500 --depth 4 --components 8 --assemblies 3 --shared 54 --force >/dev/null

runs=(
  "demo|"
  "demo|--tipo-diba 0 --liv-esp 2 --qta-prod 10 --quale-prezzo S"
  "demo|--tipo-diba 0 --quale-prezzo L --listino 01 --salto-pag S"
  "demo|--tipo-diba 2 --esp-scal N --importi N"
  "demo|--straightforward --tipo-diba 0"
  "synth|"
)
status=0
n=0
for run in "${runs[@]}"; do
  company=${run%%|*}
  opts=${run#*|}
  n=$((n + 1))
  # The reference messages.
  # shellcheck disable=SC2086
  (cd "$work/$company" && "$old" bom --company "$work/$company" --out "$work/ref-$n.csv" --straightforward $opts 2>&1 >/dev/null) \
    | sed "s|$work/ref-$n.csv|OUT|g" >"$work/ref-$n.err" || true
  for ext in csv txt fix xlsx pdf; do
    for side in old new; do
      bin=$old
      [ "$side" = new ] && bin=$new
      out="$work/$side-$n.$ext"
      rm -f "$out"
      # shellcheck disable=SC2086
      (cd "$work/$company" && "$bin" bom --company "$work/$company" --out "$out" $opts 2>&1 >/dev/null) | sed "s|$out|OUT|g" >"$work/$side-$n.$ext.err" || true
      case $ext in
        pdf) pdftotext -layout "$out" "$out.txt" 2>/dev/null || : >"$out.txt" ;;
        xlsx) python3 - "$out" >"$out.cells" 2>/dev/null <<'PY' || : >"$out.cells" ;;
# The cells of the workbook's sheet, one per line: place, style, value (shared or inline text
# resolved), and the column widths; the same for a book written with shared strings or inline.
import re, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = z.namelist()
shared = []
if 'xl/sharedStrings.xml' in names:
    shared = [re.sub(r'<[^>]+>', '', si) for si in re.findall(r'<si>(.*?)</si>', z.read('xl/sharedStrings.xml').decode(), re.S)]
sheet = z.read('xl/worksheets/sheet1.xml').decode()
print(re.search(r'<cols>.*?</cols>', sheet, re.S).group(0) if '<cols>' in sheet else '')
for ref, attrs, body in re.findall(r'<c r="([A-Z]+\d+)"([^>]*?)(?:/>|>(.*?)</c>)', sheet, re.S):
    style = re.search(r's="(\d+)"', attrs)
    if 't="s"' in attrs:
        value = 'text:' + shared[int(re.search(r'<v>(.*?)</v>', body).group(1))]
    elif 't="inlineStr"' in attrs:
        value = 'text:' + re.sub(r'<[^>]+>', '', body)
    else:
        value = 'number:' + re.sub(r'<[^>]+>', '', body)
    print(ref, style.group(1) if style else '', value)
PY
      esac
    done
    a="$work/old-$n.$ext" b="$work/new-$n.$ext"
    case $ext in
      pdf) a="$a.txt" b="$b.txt" ;;
      xlsx) a="$a.cells" b="$b.cells" ;;
    esac
    grep -v '^QStandardPaths:' "$work/ref-$n.err" | sed 's|OUT.*|OUT|' >"$work/ref-$n.$ext.cmp" || true
    sed 's|OUT.*|OUT|' "$work/new-$n.$ext.err" >"$work/new-$n.$ext.cmp"
    if diff -r "$a" "$b" >/dev/null && diff "$work/ref-$n.$ext.cmp" "$work/new-$n.$ext.cmp" >/dev/null; then
      echo "same      $company $ext $opts"
    else
      echo "DIFFERENT $company $ext $opts"
      status=1
    fi
  done
done
exit $status
