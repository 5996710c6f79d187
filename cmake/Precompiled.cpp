// Gives the target that owns the product's precompiled headers a source of its own.
