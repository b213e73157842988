// The fault-injecting file: a process view, the flushed image, and the image frozen at a crash.
#include "storage/testing/fault_file.h"

#include <random>

#include "storage/memory_file.h"

namespace quillery::storage {

namespace {
constexpr int kGeneralFailure = 31;
}  // namespace

std::vector<std::uint8_t> FaultDisk::diskAfterCrash() const {
    if (crashImage_) return *crashImage_;
    return plan_.keepUnflushedWrites ? view_ : flushed_;
}

void FaultDisk::countOperation() {
    ++operations_;
    if (crashImage_ || plan_.crashAfterOperation <= 0 || operations_ != plan_.crashAfterOperation)
        return;
    if (plan_.unflushedSubsetSeed != 0) {
        std::vector<std::uint8_t> image = flushed_;
        std::mt19937 choose(plan_.unflushedSubsetSeed);
        for (const auto& [offset, bytes] : unflushed_)
            if (choose() % 2 == 0) writeToImage(image, offset, bytes);
        crashImage_ = std::move(image);
        return;
    }
    crashImage_ = plan_.keepUnflushedWrites ? view_ : flushed_;
}

Status FaultFile::read(std::uint64_t offset, std::span<std::uint8_t> out,
                       std::size_t& transferred) {
    transferred = 0;
    if (disk_->plan_.readsFailAfterFailedWrite && disk_->writeFailed_)
        return Status::osError(kGeneralFailure, "read");
    readFromImage(disk_->view_, offset, out, transferred);
    return Status::success();
}

Status FaultFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    ++disk_->writes_;
    const FaultPlan& plan = disk_->plan_;
    if (plan.failWriteNumber > 0 &&
        (disk_->writes_ == plan.failWriteNumber ||
         (plan.failLaterWrites && disk_->writes_ > plan.failWriteNumber))) {
        disk_->writeFailed_ = true;
        return Status::osError(plan.failOsError, "write");
    }
    writeToImage(disk_->view_, offset, data);
    if (disk_->plan_.unflushedSubsetSeed != 0)
        disk_->unflushed_.emplace_back(offset, std::vector<std::uint8_t>(data.begin(), data.end()));
    disk_->countOperation();
    return Status::success();
}

Status FaultFile::flush() {
    disk_->flushed_ = disk_->view_;
    disk_->unflushed_.clear();
    disk_->countOperation();
    return Status::success();
}

Status FaultFile::size(std::uint64_t& out) {
    if (disk_->plan_.readsFailAfterFailedWrite && disk_->writeFailed_)
        return Status::osError(kGeneralFailure, "size");
    out = disk_->view_.size();
    return Status::success();
}

Status FaultFile::truncate(std::uint64_t length) {
    disk_->view_.resize(length, 0);
    disk_->flushed_.resize(length, 0);  // a size change is treated as durable at once
    disk_->countOperation();
    return Status::success();
}

}  // namespace quillery::storage
