// Linked with one layer's whole library and only the layers below it: the link fails when
// the layer calls into a layer above (see CMakeLists.txt).
int main() { return 0; }
