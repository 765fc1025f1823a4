// Stands in for the sources of a library that has none yet.
