/* Null returns: what a host service's slot holds after the user ignored its
   absence. Register contract: each returns 0 in EAX and removes a fixed number
   of argument bytes; every other general register is left as the caller set
   it. nullReturns[k] removes 4*k bytes (k = 0..14); entry 0 also serves the
   services whose caller removes the arguments. nullReturnDouble12 is for a
   service that answers a double on the x87 stack: it leaves 0.0 there (one
   register pushed, as the service would) and removes 12 bytes. */
    .text
    .p2align 4
.irp k, 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14
nullReturn\k:
    xorl %eax, %eax
    ret $(4*\k)
.endr

    .globl _nullReturnDouble12
_nullReturnDouble12:
    fldz
    xorl %eax, %eax
    ret $12

    .section .rdata,"dr"
    .p2align 2
    .globl _nullReturns
_nullReturns:
.irp k, 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14
    .long nullReturn\k
.endr
