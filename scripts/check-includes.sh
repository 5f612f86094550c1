#!/usr/bin/env bash
# Holds every #include of the source tree to the table of allowed edges in
# docs/ARCHITECTURE.md: a file may include its own part, the parts its row lists and all
# that those may include in turn; <SDL>, <FLTK>, <fontconfig> and <emscripten> only where
# listed.
#   scripts/check-includes.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A direct  # part -> what its row lists
parts=()
while IFS='|' read -r _ part entries _; do
  part=$(tr -d '` ' <<<"$part")
  parts+=("$part")
  direct[$part]=$(tr -d '`' <<<"$entries")
done < <(sed -n '/<!-- include rules/,/<!-- end of include rules -->/p' docs/ARCHITECTURE.md |
  grep '^| `')
[ ${#parts[@]} -gt 0 ] || { echo "docs/ARCHITECTURE.md has no include rules"; exit 1; }

# The part a path belongs to: the longest part that is a prefix of it.
part_of() {
  local best="" p
  for p in "${parts[@]}"; do
    if [[ $1 == "$p"* && ${#p} -gt ${#best} ]]; then best=$p; fi
  done
  printf '%s' "$best"
}

# Every part a part may reach, itself included, each between blanks.
declare -A reach
reach_of() {
  local start=$1 seen=" $1 " todo=("$1") p e
  while [ ${#todo[@]} -gt 0 ]; do
    p=${todo[0]}
    todo=("${todo[@]:1}")
    for e in ${direct[$p]}; do
      [[ $e == "<"* || $seen == *" $e "* ]] && continue
      [ -n "${direct[$e]+set}" ] || { echo "docs/ARCHITECTURE.md: $p lists unknown part $e"; exit 1; }
      seen+="$e "
      todo+=("$e")
    done
  done
  reach[$start]=$seen
}
for p in "${parts[@]}"; do reach_of "$p"; done

bad=0
while IFS= read -r -d '' file; do
  file=${file#./}
  own=$(part_of "$file")
  if [ -z "$own" ]; then
    echo "$file: no row of the include rules covers this file"
    bad=1
    continue
  fi
  while IFS= read -r hit; do
    line=${hit%%:*}
    [[ ${hit#*:} =~ include[[:space:]]*([<\"])([^>\"]*) ]] || continue
    name=${BASH_REMATCH[2]}
    if [ "${BASH_REMATCH[1]}" = '"' ]; then
      target=$(part_of "$name")
      if [ -z "$target" ]; then
        echo "$file:$line: includes \"$name\", which no row of the include rules covers"
        bad=1
      elif [[ ${reach[$own]} != *" $target "* ]]; then
        echo "$file:$line: includes \"$name\" ($target), which $own may not include"
        bad=1
      fi
    else
      case $name in
        SDL.h | SDL_*.h) group='<SDL>' ;;
        FL/*) group='<FLTK>' ;;
        fontconfig/*) group='<fontconfig>' ;;
        emscripten.h | emscripten/*) group='<emscripten>' ;;
        *) continue ;;
      esac
      if [[ " ${direct[$own]} " != *" $group "* ]]; then
        echo "$file:$line: includes <$name>; only the parts that list $group may"
        bad=1
      fi
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" || true)
done < <(find common platform game editor assets tools fuzz tests bench \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ $bad -ne 0 ]; then
  echo "Includes break the layering in docs/ARCHITECTURE.md."
  exit 1
fi
echo "every include keeps to the layering in docs/ARCHITECTURE.md"
