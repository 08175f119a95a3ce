#include "ProductIni.h"

#include "InputFile.h"
#include "Text.h"

namespace veltrana {

ProductIni ParseProductIni(std::string_view bytes) {
    AnsLineReader reader(bytes);
    reader.ReadAnsLine();
    ProductIni ini;
    ini.waitFactor = NumericValue(reader.ReadAnsLine());
    ini.userName = reader.ReadAnsLine();
    return ini;
}

} // namespace veltrana
