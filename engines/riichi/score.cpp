// Filled in by the rules library.
