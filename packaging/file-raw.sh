#!/bin/sh
# `file` for CPackDeb (see cpack_project_config.cmake): prints file names as they are.
exec file --raw "$@"
