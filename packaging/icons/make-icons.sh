#!/bin/sh
# Makes the menu icons: sonabrix.svg and sonabrix-48.png, drawn by
# make_icon.py, and irview.svg and irview-48.png, drawn by
# make_irview_icon.py; rendered with ImageMagick (Debian's imagemagick). The
# outputs are committed; run this again after changing a drawing.
set -eu
cd "$(dirname "$0")"
mvg=$(mktemp --suffix=.mvg)
trap 'rm -f "$mvg"' EXIT
/usr/bin/python3 make_icon.py sonabrix.svg "$mvg"
# No time stamps in the PNG, so that it is the same file on every run.
/usr/bin/convert -background none "mvg:$mvg" -strip \
  -define png:exclude-chunks=date,time PNG32:sonabrix-48.png
/usr/bin/python3 make_irview_icon.py irview.svg "$mvg"
/usr/bin/convert -background none "mvg:$mvg" -strip \
  -define png:exclude-chunks=date,time PNG32:irview-48.png
