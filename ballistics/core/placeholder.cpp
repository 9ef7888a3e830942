// Replaced as the core sources arrive.
