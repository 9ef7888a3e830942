// Replaced as the evaluator's sources arrive.
