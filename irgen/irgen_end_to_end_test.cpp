// Runs the built irgen program.
