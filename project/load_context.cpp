#include "project/load_context.h"

cLoadContext& LoadContext() {
  static cLoadContext context;
  return context;
}
