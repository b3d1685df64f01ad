#!/usr/bin/env bash
# The format check's file list where git cannot answer for the tree: a small
# tree without its own .git, built here, must list its C++ files and leave
# out the generated tables, the build folders and the hidden folders.
#
#   bash format_files_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work/tools"
cp "$source_dir/tools/format-files.sh" "$work/tools/"
cd "$work"
mkdir -p src/data tests/qt resources/generated build-test/tests out .git .cache cmake-build-debug/src
touch src/data/lookups.cpp src/data/lookups.h src/data/notes.txt tests/qt/dlg_test.cpp \
      resources/generated/skill_table.cpp build-test/tests/mocs_compilation.cpp out/x.cpp \
      .git/x.cpp .cache/x.h cmake-build-debug/CMakeCache.txt cmake-build-debug/src/qrc_icons.cpp

expected=$'src/data/lookups.cpp\nsrc/data/lookups.h\ntests/qt/dlg_test.cpp'
actual=$(bash tools/format-files.sh)
if [ "$actual" != "$expected" ]; then
  printf 'Expected the files:\n%s\nbut tools/format-files.sh listed:\n%s\n' "$expected" "$actual"
  exit 1
fi
