# copy_source_tree DEST: the tree's files as they are now (those git tracks or would track:
# files deleted but not yet committed are left out, new ones not yet added come along) into
# DEST; outside a git checkout, everything but build folders. Run from the tree's root.
copy_source_tree() {
  mkdir -p "$1" || return 1
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    comm -z -23 <(git ls-files -z --cached --others --exclude-standard | sort -z) \
      <(git ls-files -z --deleted | sort -z) | tar --null --files-from=- -cf - | tar -xf - -C "$1"
  else
    tar --exclude='./build*' --exclude='./debian/.debhelper' -cf - . | tar -xf - -C "$1"
  fi
}
