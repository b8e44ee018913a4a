#!/usr/bin/env bash
# orvo search on a tree of about 200 000 files: the name search against
# find -iname, the text search against grep -rli and ripgrep (rg -li), all
# in the same run, alternating after a warm-up of each.
# Usage: bench/run-search.sh RELEASE_BUILD_DIR [PAIRS]
set -euo pipefail
build=${1:?usage: run-search.sh RELEASE_BUILD_DIR [PAIRS]}
pairs=${2:-7}
orvo=$build/src/app/orvo
[ -x "$orvo" ] || { echo "no $orvo: build the release preset first" >&2; exit 1; }
if ! command -v rg > /dev/null; then
    # Debian's ripgrep is the yardstick for the text search.
    apt-get install -y -qq ripgrep > /dev/null 2>&1 || { echo "ripgrep is needed: apt-get install ripgrep" >&2; exit 1; }
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVO_HOME=$work/home
tree=$work/tree
# 2 000 directories of 100 files, 1 to 2 KB of words each; one file in a
# hundred holds "Quarterly Needle" in some letter case.
python3 - "$tree" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(5)
words = ("alpha beta gamma delta report photo invoice summary table budget meeting "
         "schedule draft final review notes data archive project client").split()
kinds = [("report", "txt"), ("photo", "jpg"), ("notes", "md"), ("data", "csv"), ("Invoice", "TXT")]
n = 0
for a in range(40):
    for b in range(50):
        d = os.path.join(root, f"dir{a:02d}", f"sub{b:02d}")
        os.makedirs(d)
        for i in range(100):
            stem, ext = kinds[n % len(kinds)]
            text = " ".join(rng.choice(words) for _ in range(rng.randint(150, 300)))
            if n % 100 == 37:
                cut = rng.randint(0, len(text))
                text = text[:cut] + rng.choice([" Quarterly Needle ", " quarterly needle ", " QUARTERLY NEEDLE "]) + text[cut:]
            with open(os.path.join(d, f"{stem}_{n:06d}.{ext}"), "w") as f:
                f.write(text)
            n += 1
PY
files=$(find "$tree" -type f | wc -l)

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now() { date +%s%N; }
# compare NAME CMD_A CMD_B: A B A B ... after a warm-up of each; prints the
# medians and the median of the per-pair ratios A/B.
compare() {
    local name=$1 a=$2 b=$3 ta=() tb=() ratios=() t0 t1 t2
    eval "$a" > /dev/null 2>&1; eval "$b" > /dev/null 2>&1
    for ((i = 0; i < pairs; i++)); do
        t0=$(now); eval "$a" > /dev/null 2>&1; t1=$(now); eval "$b" > /dev/null 2>&1; t2=$(now)
        ta+=($(( (t1 - t0) / 1000000 ))); tb+=($(( (t2 - t1) / 1000000 )))
        ratios+=("$(awk -v x=$((t1 - t0)) -v y=$((t2 - t1)) 'BEGIN { printf "%.3f", x / y }')")
    done
    printf '  %-34s %6s ms vs %6s ms, median ratio %s\n' "$name" "$(median "${ta[@]}")" "$(median "${tb[@]}")" "$(median "${ratios[@]}")"
}

# The same hits first, so the timings compare like with like.
diff <("$orvo" search "$tree" --names '*report*.txt' 2>/dev/null | sort) \
     <(find "$tree" -iname '*report*.txt' | sort) > /dev/null || { echo "name hits differ from find" >&2; exit 1; }
diff <("$orvo" search "$tree" --text 'quarterly needle' 2>/dev/null | sort) \
     <(grep -rli 'quarterly needle' "$tree" | sort) > /dev/null || { echo "text hits differ from grep" >&2; exit 1; }

echo "orvo search, $files files in 2 000 directories, $pairs pairs, locale ${LC_ALL:-${LANG:-C}}"
compare "names '*report*.txt' vs find -iname" \
    "'$orvo' search '$tree' --names '*report*.txt'" "find '$tree' -iname '*report*.txt'"
# Every entry a hit: each needs its status read for the size and date of
# its row and the total, which find -iname never reads; -printf makes find
# read them too.
compare "names '*.*' (every entry) vs find" \
    "'$orvo' search '$tree'" "find '$tree' -iname '*'"
compare "names '*.*' vs find -printf size, date" \
    "'$orvo' search '$tree'" "find '$tree' -iname '*' -printf '%s %T@ %p\\n'"
compare "text vs grep -rli" \
    "'$orvo' search '$tree' --text 'quarterly needle'" "grep -rli 'quarterly needle' '$tree'"
compare "text vs rg -li (rg on every core)" \
    "'$orvo' search '$tree' --text 'quarterly needle'" "rg -li --no-ignore --hidden 'quarterly needle' '$tree'"
compare "text vs rg -li -j1" \
    "'$orvo' search '$tree' --text 'quarterly needle'" "rg -li -j1 --no-ignore --hidden 'quarterly needle' '$tree'"
