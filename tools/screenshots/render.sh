#!/usr/bin/env bash
# render.sh TOOL OUTPUT: runs the screenshot tool in a home of its own at /home/xiaoqie, so the
# browse windows show the folders a user would see instead of a temporary folder's. That home
# exists only in a private mount namespace, on an overlay of /home that vanishes with it; where
# the system allows no such namespace, the tool makes its home in a temporary folder instead.
set -euo pipefail
tool=$(realpath "$1")
output=$(realpath -m "$2")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/morvane-screenshots.XXXXXX")
trap 'rm -rf -- "$scratch"' EXIT
mkdir -p "$scratch/upper" "$scratch/overlay-work" "$scratch/pictures" "$output"

# Inside the namespace /home is overlaid, and a checkout under it would take the pictures with it
# when the namespace ends: they go to the scratch folder first.
inside='mount -t overlay overlay -o "lowerdir=/home,upperdir=$1/upper,workdir=$1/overlay-work" /home &&
  mkdir /home/xiaoqie && exec "$2" "$1/pictures" /home/xiaoqie'
if unshare --map-root-user --mount sh -c "$inside" render "$scratch" "$tool"; then
  cp -- "$scratch"/pictures/*.png "$output"/
else
  echo "render.sh: no private /home here; rendering in a temporary home instead" >&2
  "$tool" "$output"
fi
