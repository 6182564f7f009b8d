# Writes deb-src entries, in deb822 form, for every archive and suite that the given
# apt sources files name (one-line *.list files and deb822 *.sources files). Each archive
# and suite appears once, with the first entry's keyring: apt refuses two entries for the
# same archive and suite whose options differ.
function emit(uri, suite, components, signed_by, trusted,   key) {
  if (uri == "" || suite == "" || uri ~ /^cdrom:/) return
  key = uri
  sub(/\/+$/, "", key)
  key = key " " suite
  if (key in seen) return
  seen[key] = 1
  printf "Types: deb-src\nURIs: %s\nSuites: %s\n", uri, suite
  if (components != "") printf "Components: %s\n", components
  if (signed_by != "") printf "Signed-By: %s\n", signed_by
  if (trusted != "") printf "Trusted: %s\n", trusted
  printf "\n"
}

# A deb822 stanza, its fields gathered in `field` (names in lower case).
function finish_stanza(   types, uris, suites, nu, ns, i, j) {
  if (!in_stanza) return
  in_stanza = 0
  types = " " field["types"] " "
  gsub(/[ \t]+/, " ", types)
  if (tolower(field["enabled"]) != "no" && types ~ / deb(-src)? /) {
    nu = split(field["uris"], uris, /[ \t\n]+/)
    ns = split(field["suites"], suites, /[ \t\n]+/)
    for (i = 1; i <= nu; i++)
      for (j = 1; j <= ns; j++)
        emit(uris[i], suites[j], field["components"], field["signed-by"], field["trusted"])
  }
  split("", field)
}

function read_stanza_line(   colon, value) {
  if ($0 ~ /^#/) return
  if ($0 ~ /^[ \t]*$/) { finish_stanza(); return }
  if ($0 ~ /^[ \t]/) {
    # A continuation line, such as one of an inline key.
    if (name != "") field[name] = field[name] "\n" $0
    return
  }
  colon = index($0, ":")
  if (colon == 0) return
  name = tolower(substr($0, 1, colon - 1))
  value = substr($0, colon + 1)
  sub(/^[ \t]+/, "", value)
  sub(/[ \t]+$/, "", value)
  field[name] = value
  in_stanza = 1
}

# One-line form: deb [ option=value ... ] uri suite [component ...]
function read_one_line(   line, n, word, i, options, components, option, n_options, o, c, signed_by, trusted) {
  line = $0
  sub(/#.*/, "", line)
  sub(/^[ \t]+/, "", line)
  n = split(line, word, /[ \t]+/)
  if (n < 3 || (word[1] != "deb" && word[1] != "deb-src")) return
  i = 2
  options = ""
  if (substr(word[2], 1, 1) == "[") {
    while (i <= n) {
      options = options " " word[i]
      if (word[i] ~ /\]$/) { i++; break }
      i++
    }
  }
  gsub(/[\[\]]/, " ", options)
  n_options = split(options, option, /[ \t]+/)
  signed_by = ""; trusted = ""
  for (o = 1; o <= n_options; o++) {
    if (option[o] ~ /^signed-by=/) { signed_by = substr(option[o], 11); gsub(/,/, " ", signed_by) }
    if (option[o] ~ /^trusted=/) trusted = substr(option[o], 9)
  }
  components = ""
  for (c = i + 2; c <= n; c++) components = components (components == "" ? "" : " ") word[c]
  emit(word[i], word[i + 1], components, signed_by, trusted)
}

FNR == 1 { finish_stanza(); name = ""; deb822 = (FILENAME ~ /\.sources$/) }
deb822 { read_stanza_line(); next }
{ read_one_line() }
END { finish_stanza() }
