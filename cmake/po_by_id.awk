# A PO file whose messages are keyed by their id (the context) instead of their English text:
# the program looks each translation up by id, so the English need not be linked in once more
# with every language. Comments and flags go; msgfmt --check has run on the original.
/^#/ { next }
/^msgctxt / { id = $0; sub(/^msgctxt /, "", id); print "msgid " id; skipping = 1; next }
/^msgstr/ { skipping = 0 }
skipping { next }
{ print }
