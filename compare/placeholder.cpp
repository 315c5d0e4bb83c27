// Removed once the comparison sources exist.
