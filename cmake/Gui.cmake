# The dialog, in its own files; the driver never includes it.
target_sources(rulecast PRIVATE src/app/NoDialog.cpp)
