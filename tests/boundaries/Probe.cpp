// Linked with one whole display-free library; only its dynamic dependencies matter.
int main() { return 0; }
