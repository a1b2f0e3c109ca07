# Version of the settings tools/make-prefix puts into a Wine prefix: raise it
# whenever make-prefix changes, so that tools/setup remakes older prefixes.
QMX_PREFIX_VERSION=2
