// Gives the target that owns the precompiled Windows headers a source of its own.
