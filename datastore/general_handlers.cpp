#include "datastore/general_handlers.h"

#include "datastore/dataset.h"
#include "datastore/new_record_defaults.h"
#include "datastore/post_handlers.h"
#include "datastore/reserved_entry.h"

namespace velmora {

void AttachGeneralHandlers(DataSet& ds)
{
    DataSetEvents& events = ds.events();
    events.onNewRecord = ADOQueryNewRecordGeneral;
    events.beforePost = ADOQueryBeforePostGeneral;
    events.afterPost = ADOQueryAfterPostGeneral;
    events.onPostError = ADOQueryPostErrorGeneral;
    events.beforeDelete = ADOQueryBeforeDeleteGeneral;
}

} // namespace velmora
