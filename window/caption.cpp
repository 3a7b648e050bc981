#include "window/caption.h"

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "resources/identity.h"
#include "window/definition.h"

namespace frontend {

std::u16string caption() {
    // The address and the separator are ASCII, which code page 1251 shares.
    return catalogue::decodeCp1251(KALVETOR_WEB_ADDRESS) +
           catalogue::decodeCp1251(definition::kWindow.captionSeparator) +
           catalogue::decodeCp1251(catalogue::kTitle);
}

}  // namespace frontend
