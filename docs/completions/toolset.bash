# Bash completion for the toolset's programs: the commands and options of tdbtool and mixtool,
# and the files each program takes (.tdb, .mix, .vxm, .po and so on, and folders). The same file
# is installed under each program's name, so that bash-completion finds it for any of them.

# Completes the word being typed as a folder or a file ending in one of the extensions given.
_toolset_files() {
  local cur=${COMP_WORDS[COMP_CWORD]} ext IFS=$'\n'
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -d -- "$cur"))
  if [ $# -eq 0 ]; then
    COMPREPLY+=($(compgen -f -- "$cur"))
    return
  fi
  for ext in "$@"; do
    COMPREPLY+=($(compgen -f -X "!*.$ext" -- "$cur"))
  done
}

# The first word after the program that is not an option: the command.
_toolset_command() {
  local i
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      -*) ;;
      *) echo "${COMP_WORDS[i]}"; return ;;
    esac
  done
}

# Completes the word being typed as one of the words given.
_toolset_words() {
  COMPREPLY=($(compgen -W "$1" -- "${COMP_WORDS[COMP_CWORD]}"))
}

_toolset_tdbtool() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} command options exts
  command=$(_toolset_command)
  if [ -z "$command" ]; then
    _toolset_words "new dump diff merge export-header export-table import-table export-po import-po
      export-xliff import-xliff check stats --help --version"
    return
  fi
  case $prev in
    --language | --language-code | --max-ratio) return ;;
    -o | --output) _toolset_files tdb; return ;;
  esac
  local import="--language --language-code --fuzzy --strict --language-mismatch"
  case $command in
    new) exts="tdb" ;;
    dump) options="--lines --salvage" exts="tdb" ;;
    diff) options="--json --salvage" exts="tdb" ;;
    merge) options="-o --output" exts="tdb" ;;
    export-header) options="--salvage" exts="tdb h" ;;
    export-table) options="--salvage" exts="tdb txt" ;;
    import-table) exts="txt tdb" ;;
    export-po) options="--language --language-code --salvage" exts="tdb po pot" ;;
    import-po) options=$import exts="tdb po" ;;
    export-xliff) options="--language --language-code --salvage" exts="tdb xlf xliff" ;;
    import-xliff) options=$import exts="tdb xlf xliff" ;;
    check) options="--salvage --translations --language --max-ratio --json" exts="tdb" ;;
    stats) options="--json --salvage" exts="tdb" ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    _toolset_words "$options --help"
  else
    _toolset_files $exts
  fi
}

_toolset_mixtool() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} command options
  command=$(_toolset_command)
  case $command in
    "") _toolset_words "list extract verify --help --version"; return ;;
    list) options="-v --verbose --slash --json" ;;
    extract) options="-C --directory -k --keep" ;;
    verify) options="" ;;
    *) return ;;
  esac
  if [ "$prev" = -C ] || [ "$prev" = --directory ]; then
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur"))
  elif [[ $cur == -* ]]; then
    _toolset_words "$options --help"
  else
    _toolset_files mix
  fi
}

_toolset_vxmtool() {
  local cur=${COMP_WORDS[COMP_CWORD]} command
  command=$(_toolset_command)
  case $command in
    "") _toolset_words "from-obj dump --help --version" ;;
    from-obj) [[ $cur == -* ]] && _toolset_words "--format --qualifier --help" || _toolset_files obj vxm ;;
    dump) _toolset_files vxm ;;
  esac
}

_toolset_bundlor() {
  [[ ${COMP_WORDS[COMP_CWORD]} == -* ]] && _toolset_words "--quiet --version" && return
  if [ "$COMP_CWORD" -eq 1 ] || { [ "$COMP_CWORD" -eq 2 ] && [[ ${COMP_WORDS[1]} == --* ]]; }; then
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "${COMP_WORDS[COMP_CWORD]}"))
  else
    _toolset_files mix
  fi
}

_toolset_facetrue() {
  [[ ${COMP_WORDS[COMP_CWORD]} == -* ]] && _toolset_words "--quiet --version" && return
  _toolset_files vxm
}

_toolset_strandex() {
  [[ ${COMP_WORDS[COMP_CWORD]} == -* ]] && _toolset_words "--help --version" && return
  _toolset_files tdb
}

complete -F _toolset_tdbtool tdbtool
complete -F _toolset_mixtool mixtool
complete -F _toolset_vxmtool vxmtool
complete -F _toolset_bundlor bundlor
complete -F _toolset_facetrue facetrue
complete -F _toolset_strandex strandex
