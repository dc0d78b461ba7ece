#!/usr/bin/env bash
# Plays a document for many frames and fails when memory at the end has grown more than 5 %
# over memory once everything the show draws has been used once (after 10,000 frames).
# usage: soak.sh ZELRENDER [DOCUMENT] [FRAMES]
set -euo pipefail
zelrender=$1
document=${2:-data/vortel/postprocess.scn}
frames=${3:-100000}
line=$("$zelrender" --size 200x150 --soak "$frames" "$document")
echo "$line"
early=$(sed 's/.*rss_kib_after_1000=\([0-9]*\).*/\1/' <<<"$line")
warm=$(sed 's/.*rss_kib_after_10000=\([0-9]*\).*/\1/' <<<"$line")
end=$(sed 's/.*rss_kib_end=\([0-9]*\).*/\1/' <<<"$line")
echo "growth since frame 1000: $(( (end - early) * 1000 / early / 10 )).$(( (end - early) * 1000 / early % 10 ))%," \
     "since frame 10000: $(( (end - warm) * 1000 / warm / 10 )).$(( (end - warm) * 1000 / warm % 10 ))%"
if (( end * 100 > warm * 105 )); then
    echo "memory grew by more than 5 % during the soak" >&2
    exit 1
fi
