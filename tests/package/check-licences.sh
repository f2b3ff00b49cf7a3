#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Every file of the source tree that git does not ignore states its copyright and licence, at its
# top or through .reuse/dep5, and every licence named has its text under LICENSES/. A file that
# lacks them fails; scripts/mark-licences.sh marks those that take a comment.
# Usage: check-licences.sh <source directory>
set -eu
cd "$1"
reuse lint
