#!/bin/sh
# Makes the menu icon of sonabrix: sonabrix.svg and sonabrix-48.png, drawn by
# make_icon.py and rendered with ImageMagick (Debian's imagemagick). The
# outputs are committed; run this again after changing the drawing.
set -eu
cd "$(dirname "$0")"
mvg=$(mktemp --suffix=.mvg)
trap 'rm -f "$mvg"' EXIT
/usr/bin/python3 make_icon.py sonabrix.svg "$mvg"
# No time stamps in the PNG, so that it is the same file on every run.
/usr/bin/convert -background none "mvg:$mvg" -strip \
  -define png:exclude-chunks=date,time PNG32:sonabrix-48.png
