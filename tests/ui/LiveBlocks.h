// How many blocks operator new has handed out and operator delete has not
// yet taken back in this test program, so that a test can tell whether a
// message's payload was freed.
#pragma once

namespace tuho::test {

long liveBlocks();

}  // namespace tuho::test
