#include "scale.h"

namespace recibo::scales {

const Scale& builtInScale()
{
    static const Scale scale = {"Escala de septiembre de 2010", "2010-09-01",
                                "Desde Septiembre de 2.010",    "Haberes desde Sept 2.010",
                                payroll::builtInPayScale(),     positions::catalogue()};
    return scale;
}

}  // namespace recibo::scales
