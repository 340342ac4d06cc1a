# Packaging (filled in by the packaging work).
