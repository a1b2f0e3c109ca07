/* A program that only carries a version resource. */
int main(void)
{
    return 0;
}
