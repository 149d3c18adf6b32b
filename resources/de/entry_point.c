/* The satellite's one exported function. It lives in C without the layout
 * header because the entry point shares its name with the table's typedef,
 * which C++ and C both refuse in one scope; the struct tag alone is fine. */
struct JunctraResourceTable;

const struct JunctraResourceTable* JunctraGermanResources(void);

__attribute__((visibility("default"))) const struct JunctraResourceTable* JunctraResourceTable(
    void) {
  return JunctraGermanResources();
}
