#!/usr/bin/env bash
# Gives the calling script a UTF-8 locale when it has none (as under cron, ssh
# or a fresh container): Wine maps Windows file names to the host's file
# names through the locale's character set, and without UTF-8 it cannot
# create a file whose name is not ASCII. Source it, do not run it.
if [ "$(locale charmap 2>/dev/null)" != "UTF-8" ]; then
    unset LC_ALL LANGUAGE
    export LANG=C.UTF-8 LC_CTYPE=C.UTF-8
fi
