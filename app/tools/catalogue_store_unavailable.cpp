// The catalogue store of a build without the storage engine's file layer: every operation says
// so, and nothing is pretended. The store over the file layer takes this file's place.
#include <string>

#include "app/tools/catalogue_store.h"
#include "runtime/errors.h"

namespace quillery::tools {

namespace {

class UnavailableCatalogueStore final : public CatalogueStore {
  public:
    StoreStatus create(const std::string&) override { return unavailable(); }
    StoreStatus open(const std::string&, StoreAccess) override { return unavailable(); }
    void close() override {}
    StoreStatus begin() override { return unavailable(); }
    StoreStatus commit() override { return unavailable(); }
    void rollback() override {}
    StoreStatus add(const QuilleryRecord&) override { return unavailable(); }
    StoreStatus forEachInFileOrder(const RecordVisitor&) override { return unavailable(); }
    StoreStatus forEachByKey(QuilleryKey, const RecordVisitor&) override { return unavailable(); }
    StoreStatus check(std::vector<std::string>&) override { return unavailable(); }
    StoreStatus rebuildKeys() override { return unavailable(); }
    StoreStatus info(CatalogueInfo&) override { return unavailable(); }

  private:
    static StoreStatus unavailable() {
        return {ErrorCode::kUnsupportedFileDriverFunction,
                "not available yet: this build has no catalogue file layer"};
    }
};

}  // namespace

std::unique_ptr<CatalogueStore> makeCatalogueStore() {
    return std::make_unique<UnavailableCatalogueStore>();
}

}  // namespace quillery::tools
