# Copies INPUT to OUTPUT and appends the 8-byte MARKER.
file(COPY_FILE "${INPUT}" "${OUTPUT}")
file(APPEND "${OUTPUT}" "${MARKER}")
